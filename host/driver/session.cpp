#include "session.h"

#include <cstdio>

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
        host.BeginAssignmentRun();
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

std::string DirectionName(int direction) {
    switch (direction) {
    case ZR_DIR_NONE: return "none";
    case ZR_DIR_INPUT: return "input";
    case ZR_DIR_OUTPUT: return "output";
    default: return std::to_string(direction);
    }
}

std::string TokenText(const Token& token) {
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
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", token.real);
        std::string text = buf;
        if (text.find_first_of(".eEn") == std::string::npos) text += ".0";  // keep reals apart from ints
        return text;
    }
    case TK_INT: return std::to_string(token.code);
    case TK_TERM: return token.term ? token.term->FullName() : "?";
    }
    return "?";
}

std::string PrefixText(const Host& host, const ExpressionRecord& e) {
    std::string text;
    for (std::uint32_t i = 0; i < e.tokenCount; ++i) {
        if (i) text += ' ';
        text += TokenText(host.tokens[e.firstToken + i]);
    }
    return text;
}

}  // namespace qtvhost
