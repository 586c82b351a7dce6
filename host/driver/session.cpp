#include "session.h"

#include <climits>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace qtvhost {

ModelLibrary::ModelLibrary(const std::string& path) {
    std::string error;
    m_module = LoadedModule::Open(path, &error);
    if (!m_module) throw DriveError("cannot load the model library " + path + ": " + error);
}

void* ModelLibrary::Symbol(const std::string& name) const { return m_module->Symbol(name.c_str()); }

ZR_ModelType* ModelLibrary::Create(const std::string& typeName) const {
    using Factory = ZR_ModelType* (*)();
    void* entry = Symbol(typeName + "Factory");
    if (entry == nullptr) throw DriveError("the model library has no type " + typeName);
    ZR_ModelType* instance = reinterpret_cast<Factory>(entry)();
    if (instance == nullptr) throw DriveError(typeName + "Factory returned no instance");
    return instance;
}

int RunJacPattern(ZR_ModelType& instance, std::size_t firstTerm, std::vector<int>& rows, std::vector<int>& cols) {
    Host& host = Host::Get();
    const std::size_t entries = host.incidenceTerms.size() - firstTerm;
    rows.assign(entries, -1);
    cols.assign(entries, -1);
    int* r = rows.data();
    int* c = cols.data();
    host.SetPatternLimit(r + entries, c + entries);
    const int count = instance.JacPattern(r, c, nullptr);
    host.SetPatternLimit(nullptr, nullptr);
    rows.resize(static_cast<std::size_t>(r - rows.data()));
    cols.resize(static_cast<std::size_t>(c - cols.data()));
    return count;
}

int SettleAssignments(ZR_ModelType& instance, int level, int arg, int maxRuns, long* status) {
    Host& host = Host::Get();
    for (int run = 1; run <= maxRuns; ++run) {
        instance.SetDims();
        host.assignments.clear();  // the record keeps the last run: the settled values
        host.BeginAssignmentRun(&instance);
        const long s = instance.ExecuteAssignments(level, arg);
        if (status) *status = s;
        if (!host.EndAssignmentRun()) return run;
    }
    throw DriveError("the assigned values did not settle within " + std::to_string(maxRuns) + " runs");
}

DriveResult Drive(ZR_ModelType& instance, int level, int arg) {
    DriveResult result;
    Host& host = Host::Get();
    result.assignmentRuns = SettleAssignments(instance, level, arg, 8, &result.assignmentStatus);
    instance.SetDims();
    const std::size_t firstTerm = host.incidenceTerms.size();
    result.equationCount = instance.SetUpEquations();
    result.patternCount = RunJacPattern(instance, firstTerm, result.rows, result.cols);
    return result;
}

namespace {

ZR_Containable* Follow(ZR_Containable* member, const std::string& name) {
    if (auto* reference = dynamic_cast<ZR_ExternalBase*>(member)) {
        ZR_Containable* linked = reference->Linked();
        if (linked == nullptr) throw DriveError(name + " is a reference that nothing is linked to");
        return linked;
    }
    if (auto* replaceable = dynamic_cast<ZR_VirtualBase*>(member)) {
        ZR_Type* chosen = replaceable->VirtualLink();
        if (chosen == nullptr) throw DriveError(name + " has no instance");
        return chosen;
    }
    return member;
}

}  // namespace

ZR_Containable* ResolvePath(ZR_Container& root, const std::string& path) {
    ZR_Containable* current = &root;
    std::size_t start = 0;
    std::string walked;
    while (start <= path.size()) {
        std::size_t dot = path.find('.', start);
        if (dot == std::string::npos) dot = path.size();
        std::string segment = path.substr(start, dot - start);
        walked += (walked.empty() ? "" : ".") + segment;
        std::string index;
        const std::size_t open = segment.find('(');
        if (open != std::string::npos) {
            if (segment.back() != ')') throw DriveError("bad index in " + walked);
            index = segment.substr(open + 1, segment.size() - open - 2);
            segment = segment.substr(0, open);
        }
        auto* container = dynamic_cast<ZR_Container*>(current);
        if (container == nullptr) throw DriveError(walked + ": not something with members");
        const ZR_Container::Property* property = container->FindProperty(segment.c_str());
        if (property == nullptr) throw DriveError(walked + ": no such member");
        current = Follow(property->member, walked);
        if (!index.empty()) {
            if (auto* ints = dynamic_cast<ZR_BASE_I*>(current)) {
                char* end = nullptr;
                errno = 0;
                const long value = std::strtol(index.c_str(), &end, 10);
                if (*end != '\0' || errno != 0 || value < INT_MIN || value > INT_MAX)
                    throw DriveError(walked + ": the index is not an integer");
                current = ints->Find(static_cast<int>(value));
            } else if (auto* texts = dynamic_cast<ZR_BASE_S*>(current)) {
                current = texts->Find(index.c_str());
            } else {
                throw DriveError(walked + ": not an array of one index");
            }
            if (current == nullptr) throw DriveError(walked + ": no element");
        }
        start = dot + 1;
    }
    return current;
}

namespace {

ZR_Value ParseValue(ZR_VarParamProp& target, const std::string& text, const std::string& path) {
    auto number = [&](bool integer) {
        char* end = nullptr;
        errno = 0;
        if (integer) {
            const long value = std::strtol(text.c_str(), &end, 10);
            if (text.empty() || *end != '\0' || errno != 0 || value < INT_MIN || value > INT_MAX)
                throw DriveError(path + ": " + text + " is not an integer");
            return ZR_Value(static_cast<int>(value), 0);
        }
        const double value = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0') throw DriveError(path + ": " + text + " is not a number");
        return ZR_Value(value, 0);
    };
    if (dynamic_cast<ZR_INTEGERPARAMETER*>(&target)) return number(true);
    if (dynamic_cast<ZR_REALPARAMETER*>(&target)) return number(false);
    if (auto* set = dynamic_cast<ZR_Set*>(&target)) {
        // Members separated by commas.
        ZR_SetValue members(static_cast<unsigned short>(set->fv().Type()));
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t comma = text.find(',', start);
            if (comma == std::string::npos) comma = text.size();
            const std::string member = text.substr(start, comma - start);
            if (!member.empty()) {
                if (members.Type() == ZR_SET_STRING) {
                    members += member.c_str();
                } else {
                    members += number(true).IntValue();
                }
            }
            start = comma + 1;
        }
        return ZR_Value(members, 0);
    }
    return ZR_Value(text.c_str(), 0);
}

}  // namespace

void SetParameter(ZR_Container& root, const std::string& path, const std::string& text) {
    auto* target = dynamic_cast<ZR_VarParamProp*>(ResolvePath(root, path));
    if (target == nullptr) throw DriveError(path + ": not a parameter or set");
    if (target->SetUserValue(ParseValue(*target, text, path)) != 0)
        throw DriveError("the host refused " + path + "=" + text + ": " + target->LastError());
}

std::vector<LinkedInstance> LinkReferences(const ModelLibrary& library, ZR_Container& instance) {
    std::vector<LinkedInstance> linked;
    for (int i = 0; i < instance.PropertyCount(); ++i) {
        const ZR_Container::Property& p = instance.PropertyAt(i);
        auto* reference = dynamic_cast<ZR_ExternalBase*>(p.member);
        if (reference == nullptr || reference->Linked() != nullptr) continue;
        // A type id is the kind, a blank, the name, a tab and the version.
        const std::string id = reference->ExternalTypeName();
        const std::size_t blank = id.find(' ');
        const std::size_t tab = id.find('\t');
        if (blank == std::string::npos || tab == std::string::npos || tab < blank) continue;
        const std::string typeName = id.substr(blank + 1, tab - blank - 1);
        InstanceRef target(library.Create(typeName));
        if (!reference->Link(target.get())) throw DriveError("cannot link " + p.name + " to a new " + typeName);
        linked.push_back({p.name, typeName, std::move(target)});
    }
    return linked;
}

TermNames::TermNames(const std::vector<LinkedInstance>& linked) {
    for (const LinkedInstance& l : linked) m_roots.emplace_back(l.instance.get(), l.name);
}

std::string TermNames::operator()(const ZR_Type& term) const {
    // The instance the term lives in: up from elements to their arrays and from
    // members to the containers that registered them.
    const ZR_Type* root = &term;
    for (;;) {
        if (const ZR_Type* array = root->ElementOf()) {
            root = array;
        } else if (const ZR_Container* owner = root->RegisteredIn()) {
            root = owner;
        } else {
            break;
        }
    }
    for (const auto& [instance, reference] : m_roots)
        if (instance == root) return reference + "." + term.FullName();
    return term.FullName();
}

std::string InfixText(const Host& host, const ExpressionRecord& e, const TermNames& names) {
    std::size_t next = e.firstToken;
    const std::size_t end = static_cast<std::size_t>(e.firstToken) + e.tokenCount;
    std::function<std::string(bool)> node = [&](bool top) -> std::string {
        if (next >= end) return "?";
        const Token& t = host.tokens[next++];
        if (t.kind != TK_OP) return TokenText(t, names);
        if (t.code == EOP_SQUARE) return "square(" + node(true) + ")";
        if (t.code == EOP_ZERO_TEST) return "op1(" + node(true) + ")";
        const std::string a = node(false);
        const std::string b = node(false);
        const std::string text = a + " " + TokenText(t) + " " + b;
        return top ? text : "(" + text + ")";
    };
    std::string text = node(true);
    if (next != end) text += " ?";
    return text;
}

std::string DirectionName(int direction) {
    switch (direction) {
    case ZR_DIR_NONE: return "none";
    case ZR_DIR_INPUT: return "input";
    case ZR_DIR_OUTPUT: return "output";
    default: return std::to_string(direction);
    }
}

std::string TokenText(const Token& token, const TermNames& names) {
    switch (token.kind) {
    case TK_OP:
        switch (token.code) {
        case EOP_PLUS: return "+";
        case EOP_MINUS: return "-";
        case EOP_TIMES: return "*";
        case EOP_DIVIDE: return "/";
        case EOP_SQUARE: return "sqr";
        case EOP_ZERO_TEST: return "op1";
        default: return "op" + std::to_string(token.code);
        }
    case TK_REAL: {
        std::string text = ZR_RealText(token.real);
        if (text.find_first_of(".eEn") == std::string::npos) text += ".0";  // keep reals apart from ints
        return text;
    }
    case TK_INT: return std::to_string(token.code);
    case TK_TERM: return token.term ? names(*token.term) : "?";
    }
    return "?";
}

std::string PrefixText(const Host& host, const ExpressionRecord& e, const TermNames& names) {
    std::string text;
    for (std::uint32_t i = 0; i < e.tokenCount; ++i) {
        if (i) text += ' ';
        text += TokenText(host.tokens[e.firstToken + i], names);
    }
    return text;
}

long long BuiltElements(ZR_Container& distribution) {
    long long built = 0;
    for (const char* name : {"VALUE", "DDX", "DDY", "DDZ", "D2DX2", "D2DY2", "D2DZ2", "IDX", "IDY", "IDZ", "IDXDY",
                             "IDXDZ", "IDYDZ", "IDXDYDZ"}) {
        ZR_Matrix* array = nullptr;
        try {
            array = dynamic_cast<ZR_Matrix*>(ResolvePath(distribution, name));
        } catch (const DriveError&) {  // not a member of this dimension
        }
        if (array == nullptr) continue;
        for (int i = 0; i < array->SlotCount(); ++i) built += array->Slot(i) != nullptr;
    }
    return built;
}

}  // namespace qtvhost
