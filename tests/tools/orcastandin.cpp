// A stand-in for the ORCA program, for the tests of the runner and of the
// pages that start ORCA. It is called the way the runner calls ORCA:
//
//     orca_standin name.orcinp ">"
//
// in the folder that holds name.orcinp, with its standard output appended to
// the output file. It reads the input (simple-input line, %cis block, %output
// block, %pointcharges directive, *xyz block), prints the blocks that the
// output readers take in the layouts ORCA uses (input echo, CARTESIAN
// COORDINATES, ORBITAL ENERGIES, MOLECULAR ORBITALS when print[p_mos] is on,
// excited singlets, triplets when asked for, the absorption spectrum), writes
// the side files ORCA leaves beside its input (name.orcinp.gbw,
// name.orcinp.cis) and ends with ORCA's normal-termination line. The numbers are made up but
// consistent: a valence-electron count of the atoms sets the occupied
// orbitals, and every state's energy agrees between its blocks. As ORCA does,
// the excited-state headings read "CIS-EXCITED STATES" for Hartree-Fock and
// ZINDO references and "TD-DFT/TDA EXCITED STATES" otherwise.
//
// ORVANE_ORCA_STANDIN_MODE changes the run:
//   fail   stops after the coordinates with an error termination, exit code 1
//   crash  stops after the coordinates by an abort signal (no core file)
//   hang   starts a child process that ignores SIGTERM, prints
//          "Stand-in process <pid> waits for child <pid>" and waits forever
// Wrong arguments, a missing input or point-charge file and unknown elements
// end the run with an error message and exit code 2 or 1.

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const double hartreeToWavenumber = 219474.6313632;
const double hartreeToEv = 27.211386245988;

struct Element
{
    int valenceElectrons;
    int basisFunctions; // minimal valence basis: s, or s and p
};

const std::map<std::string, Element>& elements()
{
    static const std::map<std::string, Element> table = {
        {"H", {1, 1}},  {"He", {2, 1}}, {"Li", {1, 4}}, {"Be", {2, 4}}, {"B", {3, 4}},
        {"C", {4, 4}},  {"N", {5, 4}},  {"O", {6, 4}},  {"F", {7, 4}},  {"Ne", {8, 4}},
        {"Na", {1, 4}}, {"Mg", {2, 4}}, {"Al", {3, 4}}, {"Si", {4, 4}}, {"P", {5, 4}},
        {"S", {6, 4}},  {"Cl", {7, 4}}, {"Ar", {8, 4}}, {"Br", {7, 4}}, {"I", {7, 4}}};
    return table;
}

struct Atom
{
    std::string symbol;
    double x = 0, y = 0, z = 0;
};

struct Input
{
    std::vector<std::string> lines;
    std::string simpleInput;
    int roots = 1;
    bool triplets = false;
    bool windowGiven = false;
    double windowLow = 0, windowHigh = 0;
    bool printOrbitals = false;
    std::string pointChargeFile;
    int charge = 0;
    int multiplicity = 1;
    std::vector<Atom> atoms;
};

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...)
{
    char buffer[512];
    va_list arguments;
    va_start(arguments, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, arguments);
    va_end(arguments);
    return buffer;
}

[[noreturn]] void errorTermination(const std::string& message, const char* where)
{
    std::printf("\n  ERROR: %s\n\nORCA finished by error termination in %s\n"
                "[file orca_tools/qcmsg.cpp, line 458]: \n  .... aborting the run\n\n",
                message.c_str(), where);
    std::fflush(stdout);
    std::exit(1);
}

bool readInput(const std::string& name, Input& input)
{
    std::ifstream file(name);
    if (!file)
        return false;
    std::string line;
    std::string block;
    bool inCoordinates = false;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        input.lines.push_back(line);
        const std::string text = trimmed(line);
        const std::string key = lower(text);
        if (inCoordinates) {
            if (!text.empty() && text[0] == '*') {
                inCoordinates = false;
                continue;
            }
            std::istringstream fields(text);
            Atom atom;
            if (fields >> atom.symbol >> atom.x >> atom.y >> atom.z)
                input.atoms.push_back(atom);
            continue;
        }
        if (text.empty())
            continue;
        if (text[0] == '!') {
            input.simpleInput += ' ' + text.substr(1);
        } else if (key.rfind("*xyz", 0) == 0) {
            std::istringstream fields(text.substr(4));
            fields >> input.charge >> input.multiplicity;
            inCoordinates = true;
        } else if (key.rfind("%pointcharges", 0) == 0) {
            const auto open = text.find('"');
            const auto close = text.find('"', open + 1);
            if (open != std::string::npos && close != std::string::npos)
                input.pointChargeFile = text.substr(open + 1, close - open - 1);
        } else if (key[0] == '%') {
            block = key.substr(1);
        } else if (key == "end") {
            block.clear();
        } else if (block == "cis") {
            std::istringstream fields(key);
            std::string word;
            fields >> word;
            if (word == "nroots") {
                fields >> input.roots;
            } else if (word == "triplets") {
                std::string value;
                fields >> value;
                input.triplets = value == "true";
            } else if (word == "ewin") {
                std::string value;
                fields >> value;
                std::replace(value.begin(), value.end(), ',', ' ');
                std::istringstream numbers(value);
                numbers >> input.windowLow >> input.windowHigh;
                input.windowGiven = input.windowLow != 0 || input.windowHigh != 0;
            }
        } else if (block == "output" && key.find("print[p_mos]") != std::string::npos) {
            input.printOrbitals = key.find(" 1") != std::string::npos;
        }
    }
    return true;
}

void printInputEcho(const std::string& name, const Input& input)
{
    std::printf("\n================================================================================\n"
                "                                       INPUT FILE\n"
                "================================================================================\n"
                "NAME = %s\n",
                name.c_str());
    int number = 1;
    for (const std::string& line : input.lines)
        std::printf("|%3d> %s\n", number++, line.c_str());
    std::printf("|%3d>                          ****END OF INPUT****\n"
                "================================================================================\n\n",
                number);
}

void printCoordinates(const Input& input)
{
    std::printf("---------------------------------\n"
                "CARTESIAN COORDINATES (ANGSTROEM)\n"
                "---------------------------------\n");
    for (const Atom& atom : input.atoms)
        std::printf("  %-4s%12.6f%12.6f%12.6f\n", atom.symbol.c_str(), atom.x, atom.y, atom.z);
    std::printf("\n");
}

struct Orbitals
{
    int occupied = 0;
    std::vector<double> energies; // hartree, numbered from 0
    std::vector<int> atomOfFunction;
    std::vector<std::string> functionLabel;
};

Orbitals makeOrbitals(const Input& input)
{
    Orbitals orbitals;
    int electrons = -input.charge;
    for (std::size_t i = 0; i < input.atoms.size(); ++i) {
        const auto found = elements().find(input.atoms[i].symbol);
        if (found == elements().end())
            errorTermination("Element " + input.atoms[i].symbol + " is not known to this program.",
                             "the input");
        electrons += found->second.valenceElectrons;
        static const char* const labels[] = {"1s", "1pz", "1px", "1py"};
        for (int f = 0; f < found->second.basisFunctions; ++f) {
            orbitals.atomOfFunction.push_back(static_cast<int>(i));
            orbitals.functionLabel.push_back(labels[f]);
        }
    }
    if (electrons <= 0 || electrons % 2 != 0 || input.multiplicity != 1)
        errorTermination(format("Multiplicity (%d) and number of electrons (%d) do not fit a "
                                "closed-shell calculation.",
                                input.multiplicity, electrons),
                         "the input");
    const int functions = static_cast<int>(orbitals.atomOfFunction.size());
    orbitals.occupied = electrons / 2;
    if (orbitals.occupied >= functions)
        errorTermination("The basis has no virtual orbitals.", "the input");
    const int virtuals = functions - orbitals.occupied;
    for (int i = 0; i < orbitals.occupied; ++i)
        orbitals.energies.push_back(
            -1.6 + 1.25 * (orbitals.occupied > 1 ? double(i) / (orbitals.occupied - 1) : 1.0));
    for (int a = 0; a < virtuals; ++a)
        orbitals.energies.push_back(0.02 + 0.9 * (virtuals > 1 ? double(a) / (virtuals - 1) : 0.0));
    return orbitals;
}

void printOrbitalEnergies(const Orbitals& orbitals)
{
    std::printf("----------------\nORBITAL ENERGIES\n----------------\n\n"
                "  NO   OCC          E(Eh)            E(eV) \n");
    for (std::size_t i = 0; i < orbitals.energies.size(); ++i)
        std::printf("%4zu   %6.4f %14.6f %14.4f \n", i,
                    static_cast<int>(i) < orbitals.occupied ? 2.0 : 0.0, orbitals.energies[i],
                    orbitals.energies[i] * hartreeToEv);
    std::printf("\n");
}

void printMolecularOrbitals(const Input& input, const Orbitals& orbitals)
{
    std::printf("------------------\nMOLECULAR ORBITALS\n------------------\n");
    const int count = static_cast<int>(orbitals.energies.size());
    for (int first = 0; first < count; first += 6) {
        const int last = std::min(first + 6, count);
        std::printf("                ");
        for (int j = first; j < last; ++j)
            std::printf("%10d", j);
        std::printf("   \n                ");
        for (int j = first; j < last; ++j)
            std::printf("%10.5f", orbitals.energies[j]);
        std::printf("\n                ");
        for (int j = first; j < last; ++j)
            std::printf("%10.5f", j < orbitals.occupied ? 2.0 : 0.0);
        std::printf("\n                ");
        for (int j = first; j < last; ++j)
            std::printf("  --------");
        std::printf("\n");
        for (int mu = 0; mu < count; ++mu) {
            const int atom = orbitals.atomOfFunction[mu];
            std::printf("%3d%-2s  %-5s   ", atom, input.atoms[atom].symbol.c_str(),
                        orbitals.functionLabel[mu].c_str());
            for (int j = first; j < last; ++j)
                std::printf("%10.6f", std::sin(0.37 * (j + 1) * (mu + 1)) / std::sqrt(count / 2.0));
            std::printf("\n");
        }
    }
    std::printf("\n");
}

struct State
{
    double wavenumber = 0;
    std::vector<std::pair<int, int>> transitions; // occupied, virtual
    std::vector<double> weights;
};

std::vector<State> makeStates(const Input& input, const Orbitals& orbitals, double lowest,
                              double step)
{
    std::vector<int> occupied;
    std::vector<int> virtuals;
    for (int i = 0; i < static_cast<int>(orbitals.energies.size()); ++i) {
        const double e = orbitals.energies[i];
        const bool inside = !input.windowGiven || (e >= input.windowLow && e <= input.windowHigh);
        if (i < orbitals.occupied && inside)
            occupied.insert(occupied.begin(), i); // HOMO first
        else if (i >= orbitals.occupied && inside)
            virtuals.push_back(i); // LUMO first
    }
    if (occupied.empty())
        occupied.push_back(orbitals.occupied - 1);
    if (virtuals.empty())
        virtuals.push_back(orbitals.occupied);

    std::vector<State> states;
    for (int k = 0; k < input.roots; ++k) {
        State state;
        state.wavenumber = lowest + step * k;
        const int from = occupied[k % occupied.size()];
        const int to = virtuals[(k / occupied.size()) % virtuals.size()];
        state.transitions.push_back({from, to});
        state.weights.push_back(0.93);
        const int other = virtuals[(k / occupied.size() + 1) % virtuals.size()];
        if (other != to) {
            state.transitions.push_back({from, other});
            state.weights.push_back(0.05);
        }
        states.push_back(state);
    }
    return states;
}

void printStates(const char* heading, const std::vector<State>& states, double spinSquare)
{
    const std::string dashes(std::strlen(heading), '-');
    std::printf("%s\n%s\n%s\n\nthe weight of the individual excitations are printed if larger than "
                "1.0e-02\n\n",
                dashes.c_str(), heading, dashes.c_str());
    for (std::size_t k = 0; k < states.size(); ++k) {
        const State& state = states[k];
        const double au = state.wavenumber / hartreeToWavenumber;
        std::printf("STATE %2zu:  E= %10.6f au %10.3f eV %10.1f cm**-1 <S**2> = %10.6f\n", k + 1, au,
                    au * hartreeToEv, state.wavenumber, spinSquare);
        for (std::size_t t = 0; t < state.transitions.size(); ++t)
            std::printf("%6da -> %3da  : %12.6f (c=%12.8f)\n", state.transitions[t].first,
                        state.transitions[t].second, state.weights[t],
                        (t % 2 ? -1.0 : 1.0) * std::sqrt(state.weights[t]));
        std::printf("\n");
    }
    std::printf("\n");
}

void printAbsorption(const std::vector<State>& singlets)
{
    const std::string dashes(77, '-');
    std::printf("%s\n         ABSORPTION SPECTRUM VIA TRANSITION ELECTRIC DIPOLE MOMENTS\n%s\n"
                "State   Energy    Wavelength  fosc         T2        TX        TY        TZ  \n"
                "        (cm-1)      (nm)                 (au**2)    (au)      (au)      (au) \n%s\n",
                dashes.c_str(), dashes.c_str(), dashes.c_str());
    for (std::size_t k = 0; k < singlets.size(); ++k) {
        const double wavenumber = singlets[k].wavenumber;
        const double strength = 0.01 + 0.37 * std::fabs(std::sin(1.3 * (k + 1)));
        // f = 2/3 E T2 in atomic units.
        const double t2 = 1.5 * strength / (wavenumber / hartreeToWavenumber);
        std::printf("%4zu %9.1f %8.1f %13.9f %9.5f %9.5f %9.5f %9.5f\n", k + 1, wavenumber,
                    1.0e7 / wavenumber, strength, t2, std::sqrt(t2), 0.0, 0.0);
    }
    std::printf("\n");
}

void writeSideFile(const std::string& name, const char* content)
{
    std::ofstream file(name, std::ios::binary);
    file << content;
}

[[noreturn]] void hangWithChild()
{
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGTERM, SIG_IGN);
        for (;;)
            pause();
    }
    std::printf("Stand-in process %d waits for child %d\n", static_cast<int>(getpid()),
                static_cast<int>(child));
    std::fflush(stdout);
    for (;;)
        waitpid(child, nullptr, 0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::strcmp(argv[2], ">") != 0 || std::strchr(argv[1], '/') != nullptr) {
        std::fprintf(stderr, "usage: %s name.orcinp \">\"  (run in the folder of the input)\n",
                     argv[0]);
        return 2;
    }
    const std::string name = argv[1];
    const char* modeVariable = std::getenv("ORVANE_ORCA_STANDIN_MODE");
    const std::string mode = modeVariable ? modeVariable : "";

    std::printf("\n                                 *****************\n"
                "                                 * O   R   C   A *\n"
                "                                 *****************\n\n"
                "        (test stand-in: the blocks below are laid out as ORCA prints them)\n");
    std::fflush(stdout);

    if (mode == "hang")
        hangWithChild();

    Input input;
    if (!readInput(name, input)) {
        std::printf("\n  ERROR: Cannot open the input file %s\n", name.c_str());
        return 2;
    }
    printInputEcho(name, input);
    if (!input.pointChargeFile.empty() && !std::ifstream(input.pointChargeFile))
        errorTermination("Cannot open the point charge file " + input.pointChargeFile, "the input");
    printCoordinates(input);
    std::fflush(stdout);

    if (mode == "fail")
        errorTermination("SCF NOT CONVERGED AFTER 125 CYCLES", "SCF");
    if (mode == "crash") {
        const rlimit noCore = {0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        // SIGABRT rather than SIGSEGV: a sanitizer build would turn a
        // segmentation fault into an ordinary exit.
        std::abort();
    }

    const Orbitals orbitals = makeOrbitals(input);
    printOrbitalEnergies(orbitals);
    if (input.printOrbitals)
        printMolecularOrbitals(input, orbitals);
    writeSideFile(name + ".gbw", "stand-in orbital file\n");

    // ORCA names the excited-state blocks after the method: CIS for
    // Hartree-Fock and semiempirical references, TD-DFT/TDA otherwise.
    bool cis = false;
    std::istringstream keywords(lower(input.simpleInput));
    for (std::string word; keywords >> word;)
        cis = cis || word == "hf" || word == "rhf" || word == "uhf" || word == "rohf"
              || word.rfind("zindo", 0) == 0;
    const std::string prefix = cis ? "CIS-EXCITED STATES" : "TD-DFT/TDA EXCITED STATES";
    const std::vector<State> singlets = makeStates(input, orbitals, 24000.0, 1500.0);
    printStates((prefix + " (SINGLETS)").c_str(), singlets, 0.0);
    if (input.triplets)
        printStates((prefix + " (TRIPLETS)").c_str(), makeStates(input, orbitals, 17000.0, 1200.0),
                    2.0);
    writeSideFile(name + ".cis", "stand-in CI vectors\n");
    printAbsorption(singlets);

    std::printf("\n                             ****ORCA TERMINATED NORMALLY****\n"
                "TOTAL RUN TIME: 0 days 0 hours 0 minutes 0 seconds 42 msec\n");
    return 0;
}
