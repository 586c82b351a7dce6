// The host's evaluation of a declared residual from its prefix token stream.
#pragma once
#include <cstddef>
#include <string>

#include "qtvexp/recorder.h"

namespace qtvhost {

struct Evaluation {
    bool ok = false;
    double value = 0.0;      // the residual
    double magnitude = 0.0;  // the same tree on the terms' magnitudes: a scale for tolerances
    std::string error;       // why the stream could not be evaluated
};

// Evaluates one prefix expression: 19 +, 20 -, 21 *, 22 / on two operands, 40 square
// and 1 on one operand (1 is zero exactly when its operand is; it evaluates as its
// operand). Terms give their current values. A stream with too few operands, an
// unknown code or tokens left over is reported, not evaluated.
QTVEXP_API Evaluation EvaluateTokens(const Token* tokens, std::size_t count);
QTVEXP_API Evaluation Evaluate(const Host& host, const ExpressionRecord& equation);

}  // namespace qtvhost
