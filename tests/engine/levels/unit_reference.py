#!/usr/bin/python3
"""Squared reduced elements |<7F J||U(k)||7F J'>|^2 of Eu(III) in pure LS
coupling, for the unit-tensor tests.

<7F||U(k)||7F> of f^6 by hand: the highest state (M_L = 3) of 7F is the
spin-up subshell without its m = -3 orbital, so <U(k)_0> = -<-3|u(k)_0|-3>
= -(3 k 3; 3 0 -3), and the Wigner-Eckart theorem with (3 k 3; -3 0 3) gives
<7F||U(k)||7F> = -(-1)^k, i.e. -1 for even k. In f^8 the same term is the full
spin-up subshell plus one spin-down electron in m = 3: <7F||U(k)||7F> = +1.
The J levels follow from
|<SLJ||U(k)||SLJ'>|^2 = (2J+1)(2J'+1) {L J S; J' L k}^2 <L||U(k)||L>^2.
"""
from sympy.physics.wigner import wigner_6j

S = L = 3
for k in (2, 4, 6):
    for J in range(7):
        for Jp in range(J, 7):
            v = (2 * J + 1) * (2 * Jp + 1) * wigner_6j(L, J, S, Jp, L, k) ** 2
            if v != 0:
                print("    {%d, %d, %d, %s}," % (k, J, Jp, repr(float(v))))
