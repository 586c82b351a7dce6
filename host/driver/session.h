// Driving one instance the way the host does: create it through the library's
// factory, run its operations in order, and collect what the library declared.
#pragma once
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "qtvexp.h"
#include "qtvexp/loader.h"
#include "qtvexp/recorder.h"

namespace qtvhost {

class DriveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The model library, loaded by file name.
class ModelLibrary {
public:
    explicit ModelLibrary(const std::string& path);  // throws DriveError
    // The instance that <TYPE>Factory returns, holding one reference; throws when
    // the entry point is missing or yields nothing.
    ZR_ModelType* Create(const std::string& typeName) const;
    void* Symbol(const std::string& name) const;
    const LoadedModule& Module() const { return *m_module; }

private:
    std::unique_ptr<LoadedModule> m_module;
};

// Releases the one reference it holds.
struct InstanceDeleter {
    void operator()(ZR_ModelType* instance) const {
        if (instance) instance->Release();
    }
};
using InstanceRef = std::unique_ptr<ZR_ModelType, InstanceDeleter>;

struct DriveResult {
    long assignmentStatus = 0;
    int assignmentRuns = 0;
    int equationCount = 0;   // what SetUpEquations returned
    int patternCount = 0;    // what JacPattern returned
    std::vector<int> rows;   // Jacobian pattern as JacPattern wrote it
    std::vector<int> cols;
};

// Runs the instance's assignments again until no assigned value changes (a value
// one statement reads may be assigned by a later one), at most maxRuns times;
// SetDims comes before each run so the arrays follow their index sets. Returns the
// number of runs; throws DriveError when the values do not settle.
int SettleAssignments(ZR_ModelType& instance, int level = 1, int arg = 0, int maxRuns = 8,
                      long* status = nullptr);

// SetDims and settled assignments, SetUpEquations, then JacPattern into arrays
// sized from the incidence that SetUpEquations declared.
DriveResult Drive(ZR_ModelType& instance, int level = 1, int arg = 0);

// Sizes pattern arrays for the incidence recorded since `firstIncidence` and runs
// JacPattern into them, with the host checking the cursors stay inside.
int RunJacPattern(ZR_ModelType& instance, std::size_t firstTerm, std::vector<int>& rows, std::vector<int>& cols);

// Text forms for listings.
std::string DirectionName(int direction);
std::string TokenText(const Token& token);
std::string PrefixText(const Host& host, const ExpressionRecord& e);

}  // namespace qtvhost
