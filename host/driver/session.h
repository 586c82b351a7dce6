// Driving one instance the way the host does: create it through the library's
// factory, run its operations in order, and collect what the library declared.
#pragma once
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "qtvexp.h"
#include "qtvexp/loader.h"
#include "qtvexp/recorder.h"
#include "qtvexp/wrapper_bases.h"
#include "qtvexp/arrays.h"

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

// The member a dotted path names from root: "NUMSECTIONS", "XDOMAIN.NUMSECTIONS",
// "SECTION(2).SPACINGPREFERENCE". References lead to what they are linked to,
// replaceable members to their chosen instance, an index to an array element.
// Throws DriveError naming the part of the path that does not resolve.
ZR_Containable* ResolvePath(ZR_Container& root, const std::string& path);
// How many elements the arrays of a distribution of any dimension hold built.
long long BuiltElements(ZR_Container& distribution);

// Fixes the value of the parameter or set a path names, as a user would; the
// text is read as the member's kind of value. Throws DriveError when the path
// does not resolve or the host refuses the value.
void SetParameter(ZR_Container& root, const std::string& path, const std::string& text);

// Links every reference of the instance that nothing links yet to a new instance
// of the referenced type, made through that type's factory. The new instances
// come back in property order with the references' names.
struct LinkedInstance {
    std::string name;
    std::string typeName;
    InstanceRef instance;
};
std::vector<LinkedInstance> LinkReferences(const ModelLibrary& library, ZR_Container& instance);

// How listings name a term: by its full name, and a term that lives in an
// instance one of the driven instance's references leads to by its path from the
// driven instance, the reference's name first ("XDOMAIN.SECTION(2).ELEMENTLENGTH"),
// so that the members of two linked instances are told apart.
class TermNames {
public:
    TermNames() = default;
    explicit TermNames(const std::vector<LinkedInstance>& linked);
    std::string operator()(const ZR_Type& term) const;

private:
    std::vector<std::pair<const ZR_Type*, std::string>> m_roots;  // linked instance, reference name
};

// Text forms for listings.
std::string InfixText(const Host& host, const ExpressionRecord& e, const TermNames& names = TermNames());
std::string DirectionName(int direction);
std::string TokenText(const Token& token, const TermNames& names = TermNames());
std::string PrefixText(const Host& host, const ExpressionRecord& e, const TermNames& names = TermNames());

}  // namespace qtvhost
