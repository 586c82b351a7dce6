// A one-dimensional distribution over its own domain, set up as a user would
// (method, sections, spacings, derivative orders, integrals), settled, and
// driven through SetUpEquations and JacPattern; the declared rows are read back
// from the host's records.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "distributions/one/distribution1d.h"
#include "qtvexp/recorder.h"

namespace grid1d {

// One declared equation instance.
struct Row {
    std::size_t record;  // index into the host's expression records
    int site;            // N of "ZR_EqnN"
    std::string subject; // the array of its first term: DDX, D2DX2 or IDX
    int node;            // that term's node
    int group;
    std::vector<std::string> terms;  // its variable and parameter terms, in stream order
};

// "N@node" for each row, the form the worked examples are written in.
std::vector<std::string> Sequence(const std::vector<Row>& rows);

// A term's name split into its array and node ("DDX(3)"); node is -1 for a
// parameter ("SECTION(2).ELEMENTLENGTH").
struct TermName {
    std::string array;
    int node = -1;
};
TermName Split(const std::string& fullName);

class Grid {
public:
    Grid();
    Grid(const Grid&) = delete;
    Grid& operator=(const Grid&) = delete;

    // The user's values, fixed before Settle.
    Grid& Method(const char* text);
    Grid& Sections(int count);
    Grid& Spacing(double preference);                 // the domain's SPACINGPREFERENCE
    Grid& SectionSpacings(std::vector<double> preferences);  // one per section
    Grid& Highest(int order);                         // the domain's HIGHESTORDERDERIVATIVE
    Grid& Boundary(const char* text);
    Grid& Used(int order);                            // HIGHESTORDERXDERIVATIVEUSED
    Grid& Integrals(const char* quoteTerminated);     // e.g. "idx\""
    // Texts outside the parameter's valid set, past the host's check.
    Grid& MethodUnchecked(const char* text);
    Grid& BoundaryUnchecked(const char* text);

    // Domain, then distribution, to their settled values; arrays sized.
    Grid& Settle();
    // SetUpEquations with the host's last group at groupBase, then JacPattern.
    Grid& Declare(int groupBase = 100);

    int EndNode();
    int SectionCount();
    ZR_SECTIONDATAMODEL& Section(int s);

    // The rows of the last Declare, as JacPattern declared them.
    std::vector<Row> Rows() const;

    ZR_DOMAIN domain;
    ZR_DISTRIBUTION1D dist;

    // Results of the last Declare.
    int setUpResult = 0;
    int patternResult = 0;
    std::size_t firstIncidence = 0, firstExpression = 0, firstTerm = 0;
    std::vector<int> patternRows, patternCols;

private:
    Grid& Set(ZR_VarParamProp& target, const ZR_Value& value, bool checked = true);
    std::vector<double> m_sectionSpacings;
};

// How many rows hold each array's element at each node as their subject:
// counts["DDX"][n].
std::map<std::string, std::map<int, int>> SubjectCounts(const std::vector<Row>& rows);

// Every element a row names lies in its array's index set.
void ExpectInsideIndexSets(Grid& grid, const std::vector<Row>& rows);

// Rows whose residuals share a stencil and so the degree of polynomial for which
// they are exact.
struct Family {
    const char* label;
    std::vector<int> sites;
    int degree;  // above kAnyDegree: exact for every polynomial tried
};
constexpr int kAnyDegree = 50;

// Evaluates the rows of the grid's last Declare on the powers (x - centre)^d
// placed on the nodes x, d from 0 to one above the highest family degree. Every
// row vanishes within `exact` (relative to the magnitude of its terms) up to its
// family's degree, and in every family that was declared some row misses by
// more than `clear` at one degree more. A row of no family is a failure.
void ExpectExactness(Grid& grid, const std::vector<double>& x, const std::vector<Family>& families,
                     double exact, double clear, double centre = 0.3);

}  // namespace grid1d
