#include "qtvexp/evaluate.h"

#include <cmath>

namespace qtvhost {

namespace {

class Parser {
public:
    Parser(const Token* tokens, std::size_t count) : m_tokens(tokens), m_count(count) {}

    bool Run(Evaluation& out) {
        double value = 0.0;
        double magnitude = 0.0;
        if (!Node(value, magnitude)) {
            out.error = m_error;
            return false;
        }
        if (m_next != m_count) {
            out.error = std::to_string(m_count - m_next) + " token(s) after the end of the expression";
            return false;
        }
        out.value = value;
        out.magnitude = magnitude;
        return true;
    }

private:
    bool Node(double& value, double& magnitude) {
        if (m_next >= m_count) {
            m_error = "the expression ends where an operand was expected";
            return false;
        }
        const Token& t = m_tokens[m_next++];
        switch (t.kind) {
        case TK_REAL:
            value = t.real;
            magnitude = std::fabs(t.real);
            return true;
        case TK_INT:
            value = t.code;
            magnitude = std::fabs(value);
            return true;
        case TK_TERM:
            if (t.term == nullptr) {
                m_error = "a term without a variable";
                return false;
            }
            value = t.term->TermValue();
            magnitude = std::fabs(value);
            return true;
        case TK_OP:
            return Operator(t.code, value, magnitude);
        }
        m_error = "unknown token kind";
        return false;
    }

    bool Operator(int code, double& value, double& magnitude) {
        double a = 0, am = 0, b = 0, bm = 0;
        switch (code) {
        case EOP_ZERO_TEST:
        case EOP_SQUARE:
            if (!Node(a, am)) return false;
            value = code == EOP_SQUARE ? a * a : a;
            magnitude = code == EOP_SQUARE ? am * am : am;
            return true;
        case EOP_PLUS:
        case EOP_MINUS:
        case EOP_TIMES:
        case EOP_DIVIDE:
            if (!Node(a, am) || !Node(b, bm)) return false;
            break;
        default:
            m_error = "unknown operator code " + std::to_string(code);
            return false;
        }
        switch (code) {
        case EOP_PLUS: value = a + b; magnitude = am + bm; break;
        case EOP_MINUS: value = a - b; magnitude = am + bm; break;
        case EOP_TIMES: value = a * b; magnitude = am * bm; break;
        default: value = a / b; magnitude = am / bm; break;
        }
        return true;
    }

    const Token* m_tokens;
    std::size_t m_count;
    std::size_t m_next = 0;
    std::string m_error;
};

}  // namespace

Evaluation EvaluateTokens(const Token* tokens, std::size_t count) {
    Evaluation result;
    Parser parser(tokens, count);
    result.ok = parser.Run(result);
    return result;
}

Evaluation Evaluate(const Host& host, const ExpressionRecord& equation) {
    if (static_cast<std::size_t>(equation.firstToken) + equation.tokenCount > host.tokens.size()) {
        Evaluation bad;
        bad.error = "the equation's tokens lie outside the record";
        return bad;
    }
    return EvaluateTokens(host.tokens.data() + equation.firstToken, equation.tokenCount);
}

}  // namespace qtvhost
