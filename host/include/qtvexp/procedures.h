// Procedures: equations whose residual and derivatives an external routine computes.
// A model library derives a procedure from ZR_ProcedureType_C (or ZR_ProcedureType)
// and ZR_DynamicProcExtensions; the host hands it its arguments, asks it to
// declare its equations to the owning model and evaluates it.
#pragma once
#include <cstdint>
#include <string>

#include "qtvexp/core.h"
#include "qtvexp/procedure_call.h"
#include "qtvexp/sets.h"

class ZR_COMPONENTLISTNAME;
class ZR_ModelTypeEx;
class ZR_StructureTypeEx;

// Negative statuses of an evaluation.
enum {
    ZR_PROC_NO_LIBRARY = -1,  // the procedure library cannot be loaded
    ZR_PROC_NO_ROUTINE = -2,  // the library has no routine of the procedure's name
    ZR_PROC_FAILED = -3,      // the routine set its failure code
    ZR_PROC_BAD_OUTPUT = -4,  // the routine returned an output that is not a finite number
};

// A routine found in a procedure library. Loaded libraries stay loaded for the
// life of the process, so the record only points into them.
struct DLLFunction {
    const void* module = nullptr;
    ZR_Procedure13 routine = nullptr;
};

// The value of a constant argument: an integer, a real or a text.
class QTVEXP_API ConstProcValue {
public:
    ConstProcValue();
    ConstProcValue(const ConstProcValue& other);
    ConstProcValue& operator=(const ConstProcValue& other);
    ~ConstProcValue();

    ConstProcValue& operator=(int value);
    ConstProcValue& operator=(double value);
    ConstProcValue& operator=(const char* value);  // null is taken as ""

    // A number reads as the other kind of number; a text reads as 0, a number as "".
    int Integer() const;
    double Real() const;
    const char* String() const;

private:
    enum Kind { None, Int, Dbl, Txt };
    Kind m_kind;
    int m_int;
    double m_real;
    std::string m_text;
};

// The host's part of a procedure: the packed values the routine sees, the bound
// elements, the counts of the argument passes, the derivative storage, the
// routine and the record of its last call. Every array here belongs to the host
// heap and is freed by this class.
class QTVEXP_API ZR_ProcedureType : public ZR_Containable {
public:
    ZR_ProcedureType();
    ZR_ProcedureType(const ZR_ProcedureType& other);  // deep: arrays are copied
    ZR_ProcedureType& operator=(const ZR_ProcedureType& other);
    ~ZR_ProcedureType() override;

    virtual const char* ProcedureName() const;
    virtual const char* DLLName() const;
    virtual ZR_COMPONENTLISTNAME* ComponentListName();
    virtual int Jacobian(double* values, int& index);
    virtual int Residuals(double* values, int& index);
    virtual int Precall(bool flag);
    virtual int Postcall(bool flag);
    virtual ZR_VarParam* OutputVar(int element);  // null when not bound
    virtual void InitializeCStrings();
    virtual int LanguageBaseIndex() const;  // 1: the Fortran convention
    virtual bool IsFortran() const;

    // flag: the procedure takes part in a dynamic run; mode is handed to the
    // routine as the host word.
    void SetMode(bool flag, int mode);
    // Bytes of one value of a type code: 4 for integers (2, 3), 8 for reals (4),
    // kStringBytes for texts (5); 0 for any other code.
    static int TypeSize(int code);
    static const int kStringBytes = 256;

    // false: prepares the derivative count and values from the construction
    // counts. true: leaves the routine's derivatives, negated, in the dense matrix.
    void HandleDerivatives(bool returned);
    // Allocates the packed values (words, zero-filled) and the bound element list
    // for the elements counted in the construction pass.
    void FinalizeConstruction(int firstOutputWord, int words);
    bool LastCall(int type) const;  // the type of the last call judged good
    static bool AlwaysCall();
    bool PresetOutputs() const;
    static bool PostsetInputs();
    // Loads the procedure library by file name and finds the routine; 0 when it
    // can be used, a negative status when not.
    int EnsureCompatibleDLLLoaded(int level);
    ZR_Procedure13 GetProcedure13Address(DLLFunction& function) const;
    // Judges a routine call: ifail 0 and finite outputs are good, and only a good
    // call becomes the last call.
    int CheckIFailAndOutputs(int ifail, int type, bool flag);

    // Pack the next elements at the binding cursor into the packed values from
    // word on; the result is the need-to-call flag, set when a value changed.
    bool PackIntegerArray(int word, int dims, const std::int32_t* sizes);
    bool PackRealArray(int word, int dims, const std::int32_t* sizes);
    bool PackStringArray(int word, int dims, const std::int32_t* sizes);
    bool PackStr(int word, const char* text);  // true when the stored text changed

    // For the host and its tests.
    void SetComponentList(ZR_COMPONENTLISTNAME* list);
    bool ModeFlag() const;
    int WordCount() const;
    const double* PackedValues() const;
    int DerivativeCount() const;
    const double* DerivativeMatrix() const;
    int DerivativeMatrixSize() const;

protected:
    double* m_values;                 // packed values, m_words 8-byte words
    std::int32_t m_words;
    std::int32_t m_firstOutputWord;
    double* m_derivMatrix;            // dense derivative matrix; the procedure allocates it
    std::int32_t m_derivMatrixSize;   // reals in it
    double* m_derivValues;            // the routine's derivatives, m_derivCount of them
    std::int32_t m_derivCount;
    std::int32_t m_hostWord;
    double* m_hostReals;
    std::int32_t m_hostCount;         // reals in m_hostReals
    DLLFunction m_routine;
    std::int32_t m_varInputElements;  // input elements that are solver variables
    std::int32_t m_inputElements;
    std::int32_t m_inputValues;
    std::int32_t m_outputElements;
    std::int32_t m_outputValues;
    ZR_VarParam** m_bound;            // input elements, then output elements
    ZR_VarParam** m_boundCursor;
    std::int32_t m_boundInputs;       // room in m_bound, as counted in the construction pass
    std::int32_t m_boundOutputs;
    bool m_needToCall;

private:
    bool PackWord(int word, int bytes, const void* value);
    bool NextBound(int count, ZR_VarParam**& first);
    void CopyArrays(const ZR_ProcedureType& other);
    void FreeArrays();

    bool m_modeFlag;
    std::int32_t m_lastCall;
    ZR_COMPONENTLISTNAME* m_componentList;
};

// A procedure whose routine follows the C convention: offsets count from 0.
class QTVEXP_API ZR_ProcedureType_C : public ZR_ProcedureType {
public:
    ZR_ProcedureType_C();
    ZR_ProcedureType_C(const ZR_ProcedureType_C& other);
    ZR_ProcedureType_C& operator=(const ZR_ProcedureType_C& other);
    ~ZR_ProcedureType_C() override;
    int LanguageBaseIndex() const override;
    bool IsFortran() const override;
};

// How the host hands a procedure its arguments and has it declare its equations.
class QTVEXP_API ZR_DynamicProcExtensions {
public:
    virtual void Argument() = 0;                      // an array of variables or parameters
    virtual void Argument(ZR_VarParam& element) = 0;  // one variable or parameter
    virtual void Argument(double value) = 0;
    virtual void Argument(ZR_IntegerSetIter& element) = 0;
    virtual void Argument(int value) = 0;
    virtual void Argument(ZR_StringSetIter& element) = 0;
    virtual void Argument(const char* value) = 0;
    virtual void LastArgument() = 0;
    // The number of Jacobian entries of the procedure's equations; raises
    // equations by their number.
    virtual int NZAndEqnContribution(ZR_StructureTypeEx* owner, int group, int& equations) = 0;
    virtual int NZAndEqnContribution(ZR_ModelTypeEx* owner, int group, int& equations) = 0;
    virtual void CreateEquationsAndSetGroup(int group, int word1, int*& rows, int*& cols, int& equations,
                                            ZR_StructureTypeEx* owner, const char* text, int word2) = 0;
    virtual void CreateEquationsAndSetGroup(int group, int word1, int*& rows, int*& cols, int& equations,
                                            ZR_ModelTypeEx* owner, const char* text, int word2) = 0;
    virtual void SetDimensionSize(int size) = 0;
    virtual void Element(ZR_VarParam& element) = 0;

protected:
    ZR_DynamicProcExtensions();
    ZR_DynamicProcExtensions(const ZR_DynamicProcExtensions& other);
    ZR_DynamicProcExtensions& operator=(const ZR_DynamicProcExtensions& other);
    ~ZR_DynamicProcExtensions();
};

// One equation of a procedure, as the owner keeps it. Its full name is the host
// text followed by the local name ("[1]").
class QTVEXP_API ZR_ProcedureEquationType : public ZR_EquationType {
public:
    ZR_ProcedureEquationType(ZR_ProcedureType* procedure, int number, int word1, ZR_ModelType* owner,
                             const char* text, int equations, int word2, const char* localName);
    ZR_ProcedureEquationType(const ZR_ProcedureEquationType&) = delete;
    ZR_ProcedureEquationType& operator=(const ZR_ProcedureEquationType&) = delete;
    ~ZR_ProcedureEquationType() override;

    ZR_ProcedureType* Procedure() const;
    int Number() const;
    int HostWord1() const;
    int HostWord2() const;
    ZR_ModelType* Owner() const;
    int EquationCount() const;  // the owner's count when the record was made
    const char* LocalName() const;
    const char* FullName() const;

private:
    ZR_ProcedureType* m_procedure;
    int m_number;
    int m_word1;
    int m_word2;
    ZR_ModelType* m_owner;
    int m_equations;
    std::string m_localName;
    std::string m_fullName;
};
