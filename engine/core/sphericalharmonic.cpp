#include "sphericalharmonic.h"

#include <algorithm>
#include <cmath>

namespace {

inline double ipow(double base, int exponent)
{
    double result = 1.0;
    for (int i = 0; i < exponent; ++i)
        result *= base;
    return result;
}

// C x F(cos theta, sin theta) of the table; the constants are the fixed
// decimal normalisations the intensity model has always used.
double amplitude(int k, int q, double c, double s)
{
    const double c2 = c * c;
    switch (k * 8 + q) {
    case 1 * 8 + 0: return 0.488602511871 * c;
    case 1 * 8 + 1: return -0.345494149448 * s;
    case 2 * 8 + 0: return 0.315391565232 * (3 * c2 - 1);
    case 2 * 8 + 1: return -0.772548404 * s * c;
    case 2 * 8 + 2: return 0.386274202 * s * s;
    case 3 * 8 + 0: return 0.373176332565 * (5 * c2 * c - 3 * c);
    case 3 * 8 + 1: return -0.323180184092 * s * (5 * c2 - 1);
    case 3 * 8 + 2: return 1.02198547636 * s * s * c;
    case 3 * 8 + 3: return -0.417223823606 * ipow(s, 3);
    case 4 * 8 + 0: return 0.105785546908 * (35 * c2 * c2 - 30 * c2 + 3);
    case 4 * 8 + 1: return -0.473087347849 * s * (7 * c2 * c - 3 * c);
    case 4 * 8 + 2: return 0.334523271757 * s * s * (7 * c2 - 1);
    case 4 * 8 + 3: return -1.25167147082 * ipow(s, 3) * c;
    case 4 * 8 + 4: return 0.4425326924 * ipow(s, 4);
    case 5 * 8 + 0: return 0.116950322446 * (63 * ipow(c, 5) - 70 * c2 * c + 15 * c);
    case 5 * 8 + 1: return -0.320281648555 * s * (21 * c2 * c2 - 14 * c2 + 1);
    case 5 * 8 + 2: return 1.69477118315 * s * s * (3 * c2 * c - c);
    case 5 * 8 + 3: return -0.345943719125 * ipow(s, 3) * (9 * c2 - 1);
    case 5 * 8 + 4: return 1.46771489821 * ipow(s, 4) * c;
    case 5 * 8 + 5: return -0.464132203411 * ipow(s, 5);
    case 6 * 8 + 0: return 0.0635692022634 * (231 * ipow(c, 6) - 315 * c2 * c2 + 105 * c2 - 5);
    case 6 * 8 + 1: return -0.411975516274 * s * (33 * ipow(c, 5) - 30 * c2 * c + 5 * c);
    case 6 * 8 + 2: return 0.325695242912 * s * s * (33 * c2 * c2 - 18 * c2 + 1);
    case 6 * 8 + 3: return -0.651390485825 * ipow(s, 3) * (11 * c2 * c - 3 * c);
    case 6 * 8 + 4: return 0.356781262831 * ipow(s, 4) * (11 * c2 - 1);
    case 6 * 8 + 5: return -1.67345245799 * ipow(s, 5) * c;
    case 6 * 8 + 6: return 0.483084113548 * ipow(s, 6);
    case 7 * 8 + 0: return 0.0682842769075 * (429 * ipow(c, 7) - 693 * ipow(c, 5) + 315 * c2 * c - 35 * c);
    case 7 * 8 + 1: return -0.063874092273 * s * (429 * ipow(c, 6) - 495 * c2 * c2 + 135 * c2 - 5);
    case 7 * 8 + 2: return 0.156458933852 * s * s * (143 * ipow(c, 5) - 110 * c2 * c + 15 * c);
    case 7 * 8 + 3: return -0.110633173104 * ipow(s, 3) * (143 * c2 * c2 - 66 * c2 + 3);
    case 7 * 8 + 4: return 0.733857449105 * ipow(s, 4) * (13 * c2 * c - 3 * c);
    case 7 * 8 + 5: return -0.366928724552 * ipow(s, 5) * (13 * c2 - 1);
    case 7 * 8 + 6: return 1.87097672659 * ipow(s, 6) * c;
    case 7 * 8 + 7: return -0.500039563538 * ipow(s, 7);
    default: return 0.0;
    }
}

} // namespace

MyComplex sphericalHarmonic(const CoordSPH& position, const int& k, const int& q)
{
    MyComplex result;
    if (k < 1 || k > 7 || q < 0 || q > k)
        return result;
    const double toRadians = std::acos(-1.0) / 180.0;
    const double theta = position.theta * toRadians;
    const double a = amplitude(k, q, std::cos(theta), std::sin(theta));
    if (q == 0) {
        result.re = a;
        return result;
    }
    const double phi = position.phi * toRadians;
    result.re = a * std::cos(q * phi);
    result.im = a * std::sin(q * phi);
    return result;
}

MyComplex signedOrderHarmonic(const CoordSPH& position, const int& k, const int& q)
{
    MyComplex y = sphericalHarmonic(position, k, std::abs(q));
    if (q < 0) {
        const double sign = (std::abs(q) % 2 == 0) ? 1.0 : -1.0;
        y.re *= sign;
        y.im *= -sign;
    }
    return y;
}

CoordSPH sphericalPosition(double x, double y, double z)
{
    const auto degrees = [](double radians) { return radians * 180.0 / std::acos(-1.0); };
    CoordSPH sph;
    sph.r = std::sqrt(x * x + y * y + z * z);
    // Rounding can push z/r just past 1; clamp so that acos stays defined.
    sph.theta = sph.r == 0.0 ? 0.0 : degrees(std::acos(std::clamp(z / sph.r, -1.0, 1.0)));
    const double p = x != 0.0 ? degrees(std::atan(y / x)) : 0.0;
    if (x > 0.0)
        sph.phi = y >= 0.0 ? p : p + 360.0;
    else if (x < 0.0)
        sph.phi = y != 0.0 ? p + 180.0 : 180.0;
    else if (y > 0.0)
        sph.phi = 90.0;
    else if (y < 0.0)
        sph.phi = 270.0;
    else
        sph.phi = 0.0;
    return sph;
}
