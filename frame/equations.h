// The two destinations of one equation walk. A type states each equation once,
// token by token in prefix order; run with the incidence sink the walk gives the
// host groups and incidence (SetUpEquations), run with the expression sink the
// names and expressions (JacPattern). Both runs therefore see the same instances,
// in the same order, with the same terms.
#pragma once
#include "qtvexp.h"

class ZR_IncidenceSink {
public:
    ZR_IncidenceSink(ZR_ModelType& model, int groupBase, int& count)
        : m_model(model), m_groupBase(groupBase), m_count(count) {}

    // Operators and constants tell the incidence nothing.
    static constexpr bool kTermsOnly = true;

    void Equation(const char* /*name*/, int block) {
        m_model.SetGroupLimits(m_groupBase + block);
        ++m_count;
    }
    void Op(EOp) {}
    void Real(double) {}
    void Int(int) {}
    void Term(ZR_VarParam& term) { m_model.AddNonZero(term); }

    // SetUpEquations reads values through the non-const accessors.
    template <class P>
    static decltype(auto) Read(P& p) { return p.v(); }

private:
    ZR_ModelType& m_model;
    const int m_groupBase;
    int& m_count;
};

class ZR_ExpressionSink {
public:
    ZR_ExpressionSink(ZR_ModelType& model, ZR_ModelExtensions& builder, int groupBase, int& count,
                      int*& rows, int*& cols)
        : m_model(model), m_builder(builder), m_groupBase(groupBase), m_count(count), m_rows(rows),
          m_cols(cols) {}

    static constexpr bool kTermsOnly = false;

    void Equation(const char* name, int block) {
        m_model.AddEquation(name, m_count, m_groupBase + block);
        m_equation = m_count - 1;
    }
    void Op(EOp code) { m_builder.AddOp(code, m_equation); }
    void Real(double value) { m_builder.AddTerm(value, m_equation); }
    void Int(int value) { m_builder.AddTerm(value, m_equation); }
    void Term(ZR_VarParam& term) { m_builder.AddTerm(term, m_rows, m_cols, m_equation); }

    // JacPattern reads values through the const accessors.
    template <class P>
    static decltype(auto) Read(P& p) { return static_cast<const P&>(p).fv(); }

private:
    ZR_ModelType& m_model;
    ZR_ModelExtensions& m_builder;
    const int m_groupBase;
    int& m_count;
    int*& m_rows;
    int*& m_cols;
    int m_equation = -1;
};
