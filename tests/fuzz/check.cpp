#include "check.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

#include "qtvexp/evaluate.h"

namespace orvane_fuzz {

using namespace qtvhost;

namespace {

// Small enough that no input costs more than a moment, large enough for every
// grid a user would draw by hand: larger counts are the host's to refuse.
constexpr long long kMaxRangeMembers = 1 << 9;
constexpr long long kMaxArraySlots = 1 << 10;
constexpr std::size_t kMaxSettings = 64;

// Host reports that refuse an input; anything else the host reports while the
// instances are driven is a fault of the library.
const char* const kRefusals[] = {
    "larger than the host can hold",
    "no memory for",
    "the host heap cannot hold",
    "the array cannot hold this element",
};

// How the host reports an equation that names an element outside its array:
// "VALUE(9): an equation names it, but ...".
const char* const kReportedElement = ": an equation names it, but ";

// How each distribution's equation sites fall into blocks: the first site of
// every block (and one past the last site), how many blocks of integral start
// rows come first, and the domain reference of each direction. A method block
// b after them belongs to method (b - starts - 1) / directions and direction
// (b - starts - 1) % directions.
struct Layout {
    const char* type;
    int starts;
    std::vector<const char*> domains;
    std::vector<int> firstSiteOfBlock;  // index b - 1 for block b, then the end

    int Sites() const { return firstSiteOfBlock.back() - 1; }
    int BlockOfSite(int site) const {
        for (std::size_t b = 1; b < firstSiteOfBlock.size(); ++b)
            if (site < firstSiteOfBlock[b]) return static_cast<int>(b);
        return 0;
    }
};

const Layout kLayouts[] = {
    {"DISTRIBUTION1D", 1, {"XDOMAIN"}, {1, 2, 7, 14, 19, 26, 34, 51, 64, 74, 87, 103}},
    {"DISTRIBUTION2D", 3, {"XDOMAIN", "YDOMAIN"},
     {1, 2, 3, 5, 10, 16, 23, 32, 37, 43, 50, 59, 67, 77, 95, 117, 130, 147, 157, 169, 182, 198, 214, 234}},
    {"DISTRIBUTION3D", 7, {"XDOMAIN", "YDOMAIN", "ZDOMAIN"},
     {1,   2,   3,   4,   6,   8,   10,  13,  18,  24,  32,  39,  48,  61,  66,  72,  80,  87,  96,  109,
      117, 127, 141, 159, 181, 211, 224, 241, 266, 276, 288, 304, 317, 333, 355, 371, 391, 419}},
};

const char* const kMethods[] = {"BFD1", "BFD2", "FFD1", "FFD2", "CFD2", "CFD4", "UBFD4", "OCFE2", "OCFE3", "OCFE4"};

// The distribution an input drives: its last TYPE setting, the 1D by default.
const Layout& LayoutOf(const std::vector<Setting>& settings) {
    const Layout* layout = &kLayouts[0];
    for (const Setting& s : settings)
        if (s.path == "TYPE")
            for (const Layout& l : kLayouts)
                if (s.value == l.type) layout = &l;
    return *layout;
}

int SiteOfName(const std::string& name, const Layout& layout) {
    if (name.rfind("ZR_Eqn", 0) != 0 || name.size() > 9) return 0;
    int site = 0;
    for (std::size_t i = 6; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        site = site * 10 + (name[i] - '0');
    }
    return site >= 1 && site <= layout.Sites() ? site : 0;
}

std::string Trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// Where each element of an array sits, slot by slot.
class Slots {
public:
    int PositionOf(const ZR_Matrix& array, const ZR_Type& element) {
        auto& positions = m_arrays[&array];
        if (positions.empty())
            for (int p = 0; p < array.SlotCount(); ++p)
                if (array.Slot(p)) positions.emplace(array.Slot(p), p);
        auto it = positions.find(&element);
        return it == positions.end() ? -1 : it->second;
    }

private:
    std::unordered_map<const ZR_Matrix*, std::unordered_map<const ZR_Type*, int>> m_arrays;
};

// Why an element that an equation names is not one its array has, or "" when
// it is: it must sit in one of the array's slots, and every index of that slot
// must lie in the index set declared for its dimension. A member of an element
// (a section's ELEMENTLENGTH) answers for the element it belongs to.
std::string Misplacement(const ZR_Type& term, Slots& slots) {
    for (const ZR_Type* t = &term; t != nullptr; t = t->RegisteredIn()) {
        const auto* array = dynamic_cast<const ZR_Matrix*>(t->ElementOf());
        if (array == nullptr) continue;
        int position = slots.PositionOf(*array, *t);
        if (position < 0) return t->FullName() + " is in no slot of its array";
        for (int d = array->Dimensions() - 1; d >= 0; --d) {
            const ZR_SetValue& present = array->IndexSet(d);
            const int size = present.SetSize();
            if (size <= 0) return t->FullName() + ": its array has no index values";
            const int at = position % size;
            position /= size;
            const ZR_Set* declared = array->DeclaredSet(d);
            if (declared == nullptr) return t->FullName() + ": its array is bound to no index set";
            const bool inside = present.Type() == ZR_SET_STRING ? (declared->fv() >= present.String(at)) != 0
                                                                : (declared->fv() >= present.Integer(at)) != 0;
            if (!inside) return t->FullName() + " lies outside " + declared->FullName() + " " + declared->fv().ToText();
        }
    }
    return "";
}

// Fixes a parameter's value as the user's without the host's checks of bounds
// and valid values, read as the parameter's kind of value.
void Force(ZR_Container& root, const std::string& path, const std::string& text) {
    ZR_Containable* member = ResolvePath(root, path);
    char* end = nullptr;
    errno = 0;
    if (auto* integer = dynamic_cast<ZR_INTEGERPARAMETER*>(member)) {
        const long number = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || errno != 0 || number < INT_MIN || number > INT_MAX)
            throw DriveError(path + ": not an integer");
        Host::FixUnchecked(*integer, ZR_Value(static_cast<int>(number), 0));
    } else if (auto* real = dynamic_cast<ZR_REALPARAMETER*>(member)) {
        const double number = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0') throw DriveError(path + ": not a number");
        Host::FixUnchecked(*real, ZR_Value(number, 0));
    } else if (auto* string = dynamic_cast<ZR_STRINGPARAMETER*>(member)) {
        Host::FixUnchecked(*string, ZR_Value(text.c_str(), 0));
    } else {
        throw DriveError(path + ": only parameters can be forced");
    }
}

// What a user chooses of a grid: its method, sections, lengths and spacings,
// boundary condition and derivative orders, and the integrals. Everything else
// of a domain (node counts, bases, collocation points, ...) it derives itself.
bool UsersChoice(const std::string& path) {
    static const char* const kChoices[] = {"DISCRETIZATIONMETHOD", "NUMSECTIONS", "LENGTH", "SPACINGPREFERENCE",
                                           "ELEMENTBOUNDARYCONDITION", "HIGHESTORDERDERIVATIVE", "INTEGRALS"};
    const std::string leaf = path.substr(path.rfind('.') == std::string::npos ? 0 : path.rfind('.') + 1);
    if (leaf.rfind("HIGHESTORDER", 0) == 0 && path.find('.') == std::string::npos) return true;
    if (path.find("SECTION(") != std::string::npos) return leaf == "SPACINGPREFERENCE";
    for (const char* choice : kChoices)
        if (leaf == choice) return true;
    return false;
}

bool Refusal(const std::string& error) {
    for (const char* phrase : kRefusals)
        if (error.find(phrase) != std::string::npos) return true;
    return false;
}

class Checker {
public:
    Checker(const ModelLibrary& library, Outcome& out) : m_library(library), m_out(out), m_host(Host::Get()) {}

    void Run(const std::vector<Setting>& settings) {
        const Layout& layout = LayoutOf(settings);
        InstanceRef distribution(m_library.Create(layout.type));
        std::vector<LinkedInstance> linked = LinkReferences(m_library, *distribution);
        if (linked.size() != layout.domains.size())
            return Fault("the distribution should have one reference to link per direction");

        for (const Setting& setting : settings) {
            if (setting.path == "TYPE") continue;
            if (!UsersChoice(setting.path)) m_censusHolds = false;
            ++m_out.settingsGiven;
            try {
                if (setting.forced) {
                    m_censusHolds = false;
                    Force(*distribution, setting.path, setting.value);
                } else {
                    SetParameter(*distribution, setting.path, setting.value);
                }
            } catch (const DriveError&) {
                ++m_out.settingsRefused;  // as the host would tell the user
            }
        }
        m_host.errors.clear();

        try {
            for (LinkedInstance& domain : linked) SettleAssignments(*domain.instance);
            SettleAssignments(*distribution);
            for (LinkedInstance& domain : linked) DeclareNothing(*domain.instance);
            Declare(*distribution, layout);
        } catch (const DriveError&) {
            m_out.kind = Outcome::NotSettled;
        }
        for (const std::string& e : m_host.errors) {
            if (Refusal(e) || m_reported.count(e)) continue;
            Fault("the host noticed a fault: " + e);
        }
        m_out.hostErrors = m_host.errors.size();
        for (const std::string& e : m_host.errors) {
            if (m_out.reports.size() >= 8) break;
            if (std::find(m_out.reports.begin(), m_out.reports.end(), e) == m_out.reports.end())
                m_out.reports.push_back(e);
        }
    }

private:
    void Fault(const std::string& what) { m_out.faults.push_back(what); }

    // A domain declares no equation, in either operation.
    void DeclareNothing(ZR_ModelType& domain) {
        domain.SetDims();
        const std::size_t incidence = m_host.incidence.size();
        const std::size_t firstTerm = m_host.incidenceTerms.size();
        const int n = domain.SetUpEquations();
        std::vector<int> rows, cols;
        const int count = RunJacPattern(domain, firstTerm, rows, cols);
        if (n != 0 || count != 0 || m_host.incidence.size() != incidence || !m_host.expressions.empty())
            Fault("the domain declared equations");
    }

    void Declare(ZR_ModelType& distribution, const Layout& layout) {
        distribution.SetDims();
        const int groupBase = ZR_ModelType::m_stLastGroup;
        const std::size_t firstIncidence = m_host.incidence.size();
        const std::size_t firstExpression = m_host.expressions.size();
        const std::size_t firstTerm = m_host.incidenceTerms.size();
        const int n = distribution.SetUpEquations();
        std::vector<int> rows, cols;
        const int count = RunJacPattern(distribution, firstTerm, rows, cols);
        const std::size_t declared = m_host.incidence.size() - firstIncidence;
        const std::size_t expressed = m_host.expressions.size() - firstExpression;
        if (n < 0) {
            // A walk that the host refused an element stops where it was refused.
            m_out.kind = Outcome::LibraryRefused;
            const bool hostRefused = std::any_of(m_host.errors.begin(), m_host.errors.end(), Refusal);
            if ((declared != 0 || expressed != 0) && !hostRefused)
                Fault("SetUpEquations refused to declare, yet equations were declared");
            if (count >= 0) Fault("SetUpEquations refused to declare, yet JacPattern declared");
            // What it declared before it stopped, the host checked as it came: an
            // element outside its index set is one the host reported.
            for (const std::string& e : m_host.errors)
                if (e.find(kReportedElement) != std::string::npos) m_reported.insert(e);
            return;
        }
        m_out.equations = declared;
        if (static_cast<std::size_t>(n) != declared || count < 0 || static_cast<std::size_t>(count) != expressed)
            Fault("SetUpEquations returned " + std::to_string(n) + " and JacPattern " + std::to_string(count) +
                  " for " + std::to_string(declared) + " and " + std::to_string(expressed) + " declarations");
        if (declared != expressed) return;

        std::size_t termsSeen = 0;
        for (std::size_t i = 0; i < declared; ++i) {
            const IncidenceRecord& inc = m_host.incidence[firstIncidence + i];
            const ExpressionRecord& ex = m_host.expressions[firstExpression + i];
            const std::string at = "equation " + std::to_string(i) + " (" + m_host.EquationName(ex) + ")";
            if (ex.index != static_cast<int>(i)) Fault(at + " has index " + std::to_string(ex.index));
            if (inc.group != ex.group) Fault(at + ": group " + std::to_string(inc.group) + " against " +
                                             std::to_string(ex.group));
            const int site = SiteOfName(m_host.EquationName(ex), layout);
            const int block = layout.BlockOfSite(site);
            const int directions = static_cast<int>(layout.domains.size());
            if (site == 0) {
                Fault(at + " has no site name");
            } else if (ex.group != groupBase + block) {
                Fault(at + " is in group " + std::to_string(ex.group) + ", not base + " + std::to_string(block));
            } else if (block > layout.starts) {
                const int method = (block - layout.starts - 1) / directions;
                const char* domain = layout.domains[(block - layout.starts - 1) % directions];
                const char* named = Method(distribution, domain);
                if (SUValue::CompareCI(kMethods[method], named) != 0)
                    Fault(at + " belongs to " + kMethods[method] + ", " + domain + "'s method is " + named);
            }

            std::vector<const ZR_VarParam*> terms;
            for (std::uint32_t k = 0; k < ex.tokenCount; ++k) {
                const Token& t = m_host.tokens[ex.firstToken + k];
                if (t.kind == TK_TERM) terms.push_back(t.term);
            }
            const auto* first = m_host.incidenceTerms.data() + inc.firstTerm;
            if (terms != std::vector<const ZR_VarParam*>(first, first + inc.termCount))
                Fault(at + ": its variables and parameters differ between the two operations");
            for (std::size_t k = 0; k < terms.size() && termsSeen + k < rows.size(); ++k)
                if (rows[termsSeen + k] != ex.index) Fault(at + ": a Jacobian row entry names another equation");
            termsSeen += terms.size();
            for (const ZR_VarParam* term : terms) Placed(*term);

            const Evaluation e = Evaluate(m_host, ex);
            if (!e.ok) Fault(at + ": the host cannot read its expression: " + e.error);
        }
        if (termsSeen != rows.size())
            Fault(std::to_string(rows.size()) + " Jacobian entries for " + std::to_string(termsSeen) + " terms");
        // The census holds for the grids a user chooses; values the domain derives
        // itself, fixed otherwise, forced values and sizes the host refused may
        // leave elements without their rows.
        if (m_censusHolds && m_out.settingsRefused == 0 && m_host.errors.empty())
            Census(distribution, layout, firstExpression, declared);
    }

    // Which rows define which elements: every element of a requested integral
    // has exactly one row (its start row or its method's), every element of a
    // first derivative in use one, or two where sections or elements meet, and
    // every element of a second derivative at most one.
    void Census(ZR_ModelType& distribution, const Layout& layout, std::size_t firstExpression, std::size_t count) {
        std::unordered_map<const ZR_Type*, int> subjects;
        for (std::size_t i = 0; i < count; ++i) {
            const ExpressionRecord& ex = m_host.expressions[firstExpression + i];
            for (std::uint32_t k = 0; k < ex.tokenCount; ++k) {
                const Token& t = m_host.tokens[ex.firstToken + k];
                if (t.kind != TK_TERM) continue;
                ++subjects[t.term];
                break;
            }
        }
        static const char* const kAxes = "XYZ";
        for (std::size_t a = 0; a < layout.domains.size(); ++a) {
            const std::string axis(1, kAxes[a]);
            const bool used = Integer(distribution, "HIGHESTORDER" + axis + "DERIVATIVEUSED") >= 1;
            if (used) Count(distribution, "DD" + axis, subjects, 1, 2);
            Count(distribution, "D2D" + axis + "2", subjects, 0, 1);
        }
        for (const char* integral : {"IDX", "IDY", "IDZ", "IDXDY", "IDXDZ", "IDYDZ", "IDXDYDZ"})
            if (Member(distribution, integral)) Count(distribution, integral, subjects, 1, 1);
    }

    // Every element of the array's declared index sets is the subject of
    // `least` to `most` rows.
    void Count(ZR_ModelType& distribution, const std::string& name,
               const std::unordered_map<const ZR_Type*, int>& subjects, int least, int most) {
        auto* array = dynamic_cast<ZR_Matrix*>(Member(distribution, name.c_str()));
        if (array == nullptr) return;
        const int dims = array->Dimensions();
        std::vector<std::vector<int>> declared(static_cast<std::size_t>(dims));
        for (int d = 0; d < dims; ++d) {
            const ZR_Set* set = array->DeclaredSet(d);
            if (set == nullptr) return;
            for (int k = 0; k < set->fv().SetSize(); ++k) declared[static_cast<std::size_t>(d)].push_back(set->fv().Integer(k));
            if (declared[static_cast<std::size_t>(d)].empty()) return;
        }
        std::vector<std::size_t> at(static_cast<std::size_t>(dims), 0);
        for (;;) {
            // The element's slot: its position in each dimension, the last fastest.
            long long position = 0;
            bool present = true;
            std::string tuple;
            for (int d = 0; d < dims && present; ++d) {
                const int value = declared[static_cast<std::size_t>(d)][at[static_cast<std::size_t>(d)]];
                int pos = 0;
                present = array->IndexSet(d).SetContains(value, pos) != 0;
                position = position * array->IndexSet(d).SetSize() + pos;
                tuple += (d ? "," : "") + std::to_string(value);
            }
            const ZR_Type* element = present && position < array->SlotCount() ? array->Slot(static_cast<int>(position)) : nullptr;
            const auto found = element ? subjects.find(element) : subjects.end();
            const int rows = found == subjects.end() ? 0 : found->second;
            if (rows < least || rows > most)
                return Fault(name + "(" + tuple + ") is the subject of " + std::to_string(rows) + " rows, not " +
                             std::to_string(least) + (most != least ? " to " + std::to_string(most) : ""));
            int d = dims - 1;
            while (d >= 0 && ++at[static_cast<std::size_t>(d)] == declared[static_cast<std::size_t>(d)].size()) at[static_cast<std::size_t>(d--)] = 0;
            if (d < 0) return;
        }
    }

    ZR_Containable* Member(ZR_ModelType& distribution, const char* name) {
        try {
            return ResolvePath(distribution, name);
        } catch (const DriveError&) {  // not a member of this dimension
            return nullptr;
        }
    }

    int Integer(ZR_ModelType& distribution, const std::string& path) {
        auto* p = dynamic_cast<ZR_VarParamProp*>(ResolvePath(distribution, path));
        return p ? p->Integer() : 0;
    }

    const char* Method(ZR_ModelType& distribution, const std::string& domain) {
        auto* method =
            dynamic_cast<ZR_VarParamProp*>(ResolvePath(distribution, domain + ".DISCRETIZATIONMETHOD"));
        return method ? method->String() : "";
    }

    // An element outside its array must be one the host reported.
    void Placed(const ZR_VarParam& term) {
        if (!m_checked.insert(&term).second) return;
        const std::string why = Misplacement(term, m_slots);
        if (why.empty()) return;
        if (m_reportedNames.empty()) {
            for (const std::string& e : m_host.errors) {
                const std::size_t at = e.find(kReportedElement);
                if (at != std::string::npos) m_reportedNames.emplace(e.substr(0, at), e);
            }
        }
        const auto reports = m_reportedNames.equal_range(term.FullName());
        if (reports.first == reports.second) Fault("an equation names " + why + ", and the host did not report it");
        for (auto it = reports.first; it != reports.second; ++it) m_reported.insert(it->second);
    }

    const ModelLibrary& m_library;
    Outcome& m_out;
    Host& m_host;
    Slots m_slots;
    std::unordered_set<const ZR_VarParam*> m_checked;
    std::unordered_multimap<std::string, std::string> m_reportedNames;  // element, report
    std::unordered_set<std::string> m_reported;
    bool m_censusHolds = true;
};

}  // namespace

std::vector<Setting> DecodeSettings(const std::uint8_t* data, std::size_t size) {
    std::vector<Setting> settings;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start < text.size() && settings.size() < kMaxSettings) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        const std::size_t eq = line.find('=');
        if (line.empty() || line[0] == '#' || eq == std::string::npos) continue;
        // The host's texts end at a NUL, as a user's typing would.
        const bool forced = line.compare(eq, 2, "==") == 0;
        std::string path = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + (forced ? 2 : 1)));
        if (path.find('\0') != std::string::npos || value.find('\0') != std::string::npos) continue;
        settings.push_back({path, value, forced});
    }
    return settings;
}

Outcome Check(const ModelLibrary& library, const std::uint8_t* data, std::size_t size) {
    Outcome out;
    Host& host = Host::Get();
    host.Reset();
    host.config.maxRangeMembers = kMaxRangeMembers;
    host.config.maxArraySlots = kMaxArraySlots;
    ZR_ModelType::m_stLastGroup = 0;
    const long long blocksBefore = host.Heap().liveBlocks;
    {
        Checker checker(library, out);
        checker.Run(DecodeSettings(data, size));
    }
    host.Reset();
    const long long blocksAfter = host.Heap().liveBlocks;
    if (blocksAfter != blocksBefore)
        out.faults.push_back(std::to_string(blocksAfter - blocksBefore) + " host heap blocks were not given back");
    return out;
}

std::string Describe(const Outcome& outcome, bool withReports) {
    static const char* const kinds[] = {"declared", "did not settle", "refused by the library"};
    std::string text = kinds[outcome.kind];
    text += ", " + std::to_string(outcome.equations) + " equations, " + std::to_string(outcome.settingsGiven) +
            " settings (" + std::to_string(outcome.settingsRefused) + " refused), " +
            std::to_string(outcome.hostErrors) + " host reports";
    for (const std::string& f : outcome.faults) text += "\n  FAULT: " + f;
    if (withReports)
        for (const std::string& r : outcome.reports) text += "\n  host: " + r;
    return text;
}

}  // namespace orvane_fuzz
