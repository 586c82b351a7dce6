// One hostile input for a distribution over its domains, run the host's way and
// checked. The input is text, one setting a line, as a user would give it:
//
//   XDOMAIN.DISCRETIZATIONMETHOD=ocfe3
//   XDOMAIN.SECTION(2).SPACINGPREFERENCE=-inf
//   HIGHESTORDERXDERIVATIVEUSED=2
//   INTEGRALS=idx,idy
//
// Paths start at the distribution and lead through XDOMAIN (YDOMAIN, ZDOMAIN)
// to its domains (the driver's dotted paths). TYPE=DISTRIBUTION2D or
// TYPE=DISTRIBUTION3D chooses the distribution; the one-dimensional one is the
// default. Blank lines and lines starting with # are skipped; a
// line without '=' or a setting the host refuses stays unset, as it would for a
// user. PATH==VALUE puts a parameter's value past the host's checks (a method
// name outside the valid ones, a count below its bound), as a value copied in
// from elsewhere in the model tree would arrive. The same input runs through the
// fuzzer and through the replay of the corpus in the normal build.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "session.h"

namespace orvane_fuzz {

// What became of an input; only `faults` make it a failure.
struct Outcome {
    enum Kind {
        Declared,        // both operations ran; the declarations were checked
        NotSettled,      // the assigned values never settled: a clear error
        LibraryRefused,  // SetUpEquations reported that it cannot declare
    };
    Kind kind = Declared;
    int settingsGiven = 0;
    int settingsRefused = 0;
    std::size_t equations = 0;
    std::size_t hostErrors = 0;   // refusals the host reported while driving
    std::vector<std::string> reports;  // the first few different ones
    std::vector<std::string> faults;
};

struct Setting {
    std::string path;
    std::string value;
    bool forced;  // PATH==VALUE
};

// The settings that an input holds, in order.
std::vector<Setting> DecodeSettings(const std::uint8_t* data, std::size_t size);

// Runs one input against a fresh host and checks it:
// - every equation instance that SetUpEquations declared is the instance that
//   JacPattern declared at the same place: same group, same variables and
//   parameters in the same order, and the group is the one its name's block has;
// - every array element that an equation names is an element its array holds
//   within the array's index set, or the host reported that element;
// - the host's evaluator reads every expression stream;
// - the host reports no fault of the library (only refusals of values and sizes);
// - every host heap block is back after the instances are released;
// - where the user's settings all stood and the host refused nothing, which rows
//   define which elements: one row for every element of a requested integral,
//   one or two (where sections or elements meet) for every element of a first
//   derivative in use, at most one for an element of a second derivative.
Outcome Check(const qtvhost::ModelLibrary& library, const std::uint8_t* data, std::size_t size);

std::string Describe(const Outcome& outcome, bool withReports = false);

}  // namespace orvane_fuzz
