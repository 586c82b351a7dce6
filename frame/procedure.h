// Procedures: an equation "output = routine(inputs)" whose routine lives in an
// external procedure library. The template binds the arguments the host hands
// over, lays their values out for the routine, calls it only when an input
// changed, and turns what it returns into residuals and a Jacobian row.
#pragma once
#include <cstdint>

#include "frame/api.h"
#include "qtvexp.h"

// Status of an evaluation of a procedure whose arguments were not bound, or not
// bound the way the construction pass laid them out.
constexpr int ZR_PROC_NOT_BOUND = -5;

// Proc supplies the static argument tables Type(i), Dimensions(i),
// IsVariableInput(i) and ReturnsDerivatives(); NSizes is the number of array
// dimensions over all arguments; Level is the compatibility level the procedure
// asks of its library.
template <class Proc, int NIn, int NOut, int NSizes, class Base, int Level>
class ORVANE_API ZR_ProcedureTemplate : public Base, public ZR_DynamicProcExtensions {
public:
    ZR_ProcedureTemplate();
    // The copy builds derivative index arrays of its own at its first routine call.
    ZR_ProcedureTemplate(const ZR_ProcedureTemplate& other);
    ZR_ProcedureTemplate& operator=(const ZR_ProcedureTemplate& other);
    ~ZR_ProcedureTemplate() override;

    static int InputArgs() { return NIn; }
    static int OutputArgs() { return NOut; }
    static int TotalArgs() { return NIn + NOut; }

    void Argument() override;
    void Argument(ZR_VarParam& element) override;
    void Argument(double value) override;
    void Argument(ZR_IntegerSetIter& element) override;
    void Argument(int value) override;
    void Argument(ZR_StringSetIter& element) override;
    void Argument(const char* value) override;
    void LastArgument() override;
    int NZAndEqnContribution(ZR_StructureTypeEx* owner, int group, int& equations) override;
    int NZAndEqnContribution(ZR_ModelTypeEx* owner, int group, int& equations) override;
    void CreateEquationsAndSetGroup(int group, int word1, int*& rows, int*& cols, int& equations,
                                    ZR_StructureTypeEx* owner, const char* text, int word2) override;
    void CreateEquationsAndSetGroup(int group, int word1, int*& rows, int*& cols, int& equations,
                                    ZR_ModelTypeEx* owner, const char* text, int word2) override;
    void SetDimensionSize(int size) override;
    void Element(ZR_VarParam& element) override;

    int Jacobian(double* values, int& index) override;
    int Residuals(double* values, int& index) override;
    void InitializeCStrings() override;

    // One evaluation: 0 when the routine was not needed or its call was good,
    // negative when it could not be called or failed.
    int CallFn(int type, bool flag);
    bool ByReference(int arg) const;
    int GetIntegerArg(int arg) const;
    double GetRealArg(int arg) const;
    const char* GetStringArg(int arg) const;
    int GetOffset(int arg) const;  // 0-based word of the argument's first value
    std::int32_t* GetOffsets(int arg);

    void SetArg(bool byReference);
    void PackInputVars();
    void PackOutputVars();
    void UnpackInputVars();

private:
    static constexpr int kSizeSlots = NSizes + 1;
    static constexpr int SizeSlotsNeeded();
    static constexpr bool AnyVariableInput();

    void CopyFields(const ZR_ProcedureTemplate& other);
    void BuildIndexArrays(int count);
    void CreateDerivatives() { this->HandleDerivatives(false); }
    void NegateDerivatives() { this->HandleDerivatives(true); }
    bool Bound() const;
    int Rows() const;
    void EnsureDerivativeMatrix();
    double MatrixAt(long long position) const;
    ZR_VarParam* NextBoundElement();
    long long ElementsOf(int arg, int& sizeIndex) const;
    void ConstantArgument();
    bool PackVal(int value);
    bool PackVal(double value);
    bool PackVal(const char* value);
    using PackArray = bool (ZR_ProcedureType::*)(int, int, const std::int32_t*);
    template <class Value>
    bool PackVar(PackArray packArray, Value (ZR_VarParamProp::*read)() const);
    bool PackVarInteger();
    bool PackVarReal();
    bool PackVarString();
    template <class Owner>
    int Contribution(Owner* owner, int group, int& equations);
    template <class Owner>
    void Declare(int group, int word1, int*& rows, int*& cols, int& equations, Owner* owner, const char* text,
                 int word2);

    std::int32_t m_elementProduct;
    std::int32_t m_dimensionsToCome;
    std::int32_t m_sizeCursor;
    std::int32_t m_firstOutputSize;
    std::int32_t m_sizes[kSizeSlots];
    std::int32_t m_current;
    std::int32_t m_wordTotal;
    std::int32_t m_offsets[NIn + NOut];
    bool m_constructing;
    bool m_byReference[NIn + NOut];
    ConstProcValue m_slots[NIn + NOut];
    std::int32_t* m_derivRows;
    std::int32_t* m_derivCols;
    // A call that failed after the inputs were packed: the packed inputs no longer
    // tell whether the routine saw them, so the next evaluation calls it.
    bool m_callPending;
    // The host handed more arguments or sizes than the procedure has: its layout
    // cannot be trusted and it refuses to evaluate.
    bool m_broken;
};

// INTERPOLATE(x, X, Y, n) = y: the routine "INTERP" of the procedure library
// "ZRQuilt" interpolates the table (X, Y) at x.
class ORVANE_API ZRProc_INTERPOLATE
    : public ZR_ProcedureTemplate<ZRProc_INTERPOLATE, 4, 1, 2, ZR_ProcedureType_C, 4> {
public:
    ZRProc_INTERPOLATE(bool flag, int mode);
    ZRProc_INTERPOLATE(const ZRProc_INTERPOLATE& other);
    ZRProc_INTERPOLATE& operator=(const ZRProc_INTERPOLATE& other);
    ~ZRProc_INTERPOLATE() override;

    const char* ProcedureName() const override;
    const char* DLLName() const override;
    int Precall(bool flag) override;

    // Per argument (x, X, Y, n, then the output y): type code, dimensions and
    // whether the routine may change it.
    static constexpr unsigned char iTypes[5] = {4, 4, 4, 2, 4};
    static constexpr unsigned char nDims[5] = {0, 1, 1, 0, 0};
    static constexpr bool bIsVar[5] = {false, false, false, false, false};
    static constexpr int Type(int arg) { return iTypes[arg]; }
    static constexpr int Dimensions(int arg) { return nDims[arg]; }
    static constexpr bool IsVariableInput(int arg) { return bIsVar[arg]; }
    static constexpr bool ReturnsDerivatives() { return true; }
};
