#include "frame/procedure.h"

#include <climits>
#include <cstdio>
#include <cstring>

#define ZR_PROC_TEMPLATE template <class Proc, int NIn, int NOut, int NSizes, class Base, int Level>
#define ZR_PROC ZR_ProcedureTemplate<Proc, NIn, NOut, NSizes, Base, Level>

namespace {

// Zero-filled reals or integers of the host heap, which the host base frees or
// the procedure's destructor hands back.
template <class T>
T* NewZeroed(long long count) {
    if (count <= 0) return nullptr;
    const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(T);
    void* block = MyAllocate(bytes);
    if (block) std::memset(block, 0, bytes);
    return static_cast<T*>(block);
}

}  // namespace

// --- construction ------------------------------------------------------------

ZR_PROC_TEMPLATE
constexpr int ZR_PROC::SizeSlotsNeeded() {
    int n = 1;  // the spare entry where the output sizes begin
    for (int arg = 0; arg < NIn + NOut; ++arg) n += Proc::Dimensions(arg);
    return n;
}

ZR_PROC_TEMPLATE
ZR_PROC::ZR_ProcedureTemplate()
    : m_elementProduct(1), m_dimensionsToCome(0), m_sizeCursor(0), m_firstOutputSize(0), m_sizes(), m_current(-1),
      m_wordTotal(0), m_offsets(), m_constructing(true), m_byReference(), m_derivRows(nullptr),
      m_derivCols(nullptr), m_callPending(false), m_broken(false) {
    static_assert(SizeSlotsNeeded() <= kSizeSlots, "NSizes must count every array dimension of the arguments");
}

ZR_PROC_TEMPLATE
ZR_PROC::ZR_ProcedureTemplate(const ZR_ProcedureTemplate& other)
    : Base(other), ZR_DynamicProcExtensions(other), m_derivRows(nullptr), m_derivCols(nullptr) {
    CopyFields(other);
}

ZR_PROC_TEMPLATE
ZR_PROC& ZR_PROC::operator=(const ZR_ProcedureTemplate& other) {
    if (this == &other) return *this;
    Base::operator=(other);
    ZR_DynamicProcExtensions::operator=(other);
    CopyFields(other);
    return *this;
}

ZR_PROC_TEMPLATE
void ZR_PROC::CopyFields(const ZR_ProcedureTemplate& other) {
    m_elementProduct = other.m_elementProduct;
    m_dimensionsToCome = other.m_dimensionsToCome;
    m_sizeCursor = other.m_sizeCursor;
    m_firstOutputSize = other.m_firstOutputSize;
    std::memcpy(m_sizes, other.m_sizes, sizeof m_sizes);
    m_current = other.m_current;
    m_wordTotal = other.m_wordTotal;
    std::memcpy(m_offsets, other.m_offsets, sizeof m_offsets);
    m_constructing = other.m_constructing;
    for (int arg = 0; arg < TotalArgs(); ++arg) {
        m_byReference[arg] = other.m_byReference[arg];
        m_slots[arg] = other.m_slots[arg];
    }
    // Each object owns its own index arrays; this one rebuilds them at its next call.
    MyFree(m_derivRows);
    MyFree(m_derivCols);
    m_derivRows = nullptr;
    m_derivCols = nullptr;
    m_callPending = other.m_callPending;
    m_broken = other.m_broken;
}

ZR_PROC_TEMPLATE
ZR_PROC::~ZR_ProcedureTemplate() {
    MyFree(m_derivRows);
    MyFree(m_derivCols);
}

// --- argument passes ----------------------------------------------------------

ZR_PROC_TEMPLATE
void ZR_PROC::SetArg(bool byReference) {
    if (m_current + 1 >= TotalArgs()) {
        m_broken = true;
        return;
    }
    ++m_current;
    m_byReference[m_current] = byReference;
    if (!m_constructing) return;
    m_offsets[m_current] = this->LanguageBaseIndex() + m_wordTotal;
    m_dimensionsToCome = Proc::Dimensions(m_current);
    if (m_dimensionsToCome == 0)
        m_wordTotal += (this->TypeSize(Proc::Type(m_current)) + 7) / 8;
    else
        m_elementProduct = 1;
    if (m_current == InputArgs()) m_firstOutputSize = m_sizeCursor;
}

ZR_PROC_TEMPLATE
void ZR_PROC::ConstantArgument() {
    SetArg(false);
    ++this->m_inputValues;
}

ZR_PROC_TEMPLATE
void ZR_PROC::Argument(int value) {
    ConstantArgument();
    if (!m_broken) m_slots[m_current] = value;
}

ZR_PROC_TEMPLATE
void ZR_PROC::Argument(double value) {
    ConstantArgument();
    if (!m_broken) m_slots[m_current] = value;
}

ZR_PROC_TEMPLATE
void ZR_PROC::Argument(const char* value) {
    ConstantArgument();
    if (!m_broken) m_slots[m_current] = value;
}

ZR_PROC_TEMPLATE
void ZR_PROC::Argument(ZR_IntegerSetIter& element) { Argument(element.Integer()); }

ZR_PROC_TEMPLATE
void ZR_PROC::Argument(ZR_StringSetIter& element) { Argument(element.String()); }

ZR_PROC_TEMPLATE
void ZR_PROC::Argument(ZR_VarParam& element) {
    SetArg(true);
    Element(element);
}

ZR_PROC_TEMPLATE
void ZR_PROC::Argument() { SetArg(true); }

ZR_PROC_TEMPLATE
void ZR_PROC::SetDimensionSize(int size) {
    if (!m_constructing) return;
    const long long product = static_cast<long long>(m_elementProduct) * (m_dimensionsToCome != 0 ? size : 1);
    if (m_sizeCursor >= NSizes || m_current < 0 || size < 0 || product > INT32_MAX) {
        m_broken = true;
        return;
    }
    m_sizes[m_sizeCursor++] = size;
    m_elementProduct = static_cast<std::int32_t>(product);
    --m_dimensionsToCome;
    if (m_dimensionsToCome > 0) return;
    const int type = Proc::Type(m_current);
    long long words = m_wordTotal + (product * this->TypeSize(type) + 7) / 8;
    // Texts handed to a C routine are reached through a table of pointers.
    if (!this->IsFortran() && type == 5) words += (product * static_cast<long long>(sizeof(char*)) + 7) / 8;
    if (words > INT32_MAX)
        m_broken = true;
    else
        m_wordTotal = static_cast<std::int32_t>(words);
}

ZR_PROC_TEMPLATE
void ZR_PROC::Element(ZR_VarParam& element) {
    if (m_current < 0 || m_broken) return;
    // Bound elements go only where the construction pass made room.
    if (m_current < InputArgs()) {
        if (m_constructing) {
            if (element.IsSolverVariable()) ++this->m_varInputElements;
        } else if (this->m_inputElements < this->m_boundInputs) {
            this->m_bound[this->m_inputElements] = &element;
        }
        ++this->m_inputElements;
        ++this->m_inputValues;
    } else {
        if (!m_constructing && this->m_outputElements < this->m_boundOutputs)
            this->m_bound[this->m_boundInputs + this->m_outputElements] = &element;
        ++this->m_outputElements;
    }
}

ZR_PROC_TEMPLATE
void ZR_PROC::LastArgument() {
    if (!m_constructing) return;
    CreateDerivatives();
    this->FinalizeConstruction(GetOffset(InputArgs()), m_wordTotal);
    this->m_inputElements = 0;
    this->m_outputElements = 0;
    this->m_inputValues = 0;
    m_current = -1;
    m_constructing = false;
}

// --- argument access ----------------------------------------------------------

ZR_PROC_TEMPLATE
bool ZR_PROC::ByReference(int arg) const { return m_byReference[arg]; }
ZR_PROC_TEMPLATE
int ZR_PROC::GetIntegerArg(int arg) const { return m_slots[arg].Integer(); }
ZR_PROC_TEMPLATE
double ZR_PROC::GetRealArg(int arg) const { return m_slots[arg].Real(); }
ZR_PROC_TEMPLATE
const char* ZR_PROC::GetStringArg(int arg) const { return m_slots[arg].String(); }
ZR_PROC_TEMPLATE
int ZR_PROC::GetOffset(int arg) const { return m_offsets[arg] - this->LanguageBaseIndex(); }
ZR_PROC_TEMPLATE
std::int32_t* ZR_PROC::GetOffsets(int arg) { return &m_offsets[arg]; }

// Elements of an argument: the product of its sizes from the size list, 1 for a
// scalar; the size index moves past its sizes.
ZR_PROC_TEMPLATE
long long ZR_PROC::ElementsOf(int arg, int& sizeIndex) const {
    long long n = 1;
    for (int d = 0; d < Proc::Dimensions(arg); ++d) n *= m_sizes[sizeIndex++];
    return n;
}

// The counts of the binding pass agree with the room the construction pass made.
ZR_PROC_TEMPLATE
bool ZR_PROC::Bound() const {
    return !m_constructing && !m_broken && this->m_values != nullptr &&
           this->m_inputElements == this->m_boundInputs && this->m_outputElements == this->m_boundOutputs;
}

// The procedure's equations: one per output value once it is bound, none before.
// Counting, declaring and evaluating all go by this one number, so that no
// evaluation writes more residuals or Jacobian entries than were counted.
ZR_PROC_TEMPLATE
int ZR_PROC::Rows() const {
    return Bound() ? this->m_outputValues : 0;
}

ZR_PROC_TEMPLATE
ZR_VarParam* ZR_PROC::NextBoundElement() {
    ZR_VarParam** end = this->m_bound + this->m_boundInputs + this->m_boundOutputs;
    return this->m_boundCursor < end ? *this->m_boundCursor++ : nullptr;
}

// --- packing ------------------------------------------------------------------

ZR_PROC_TEMPLATE
bool ZR_PROC::PackVal(int value) {
    char* word = reinterpret_cast<char*>(this->m_values + GetOffset(m_current++));
    std::int32_t stored;
    std::memcpy(&stored, word, sizeof stored);
    if (stored != value) {
        stored = value;
        std::memcpy(word, &stored, sizeof stored);
        this->m_needToCall = true;
    }
    return this->m_needToCall;
}

ZR_PROC_TEMPLATE
bool ZR_PROC::PackVal(double value) {
    double& word = this->m_values[GetOffset(m_current++)];
    if (!(word == value)) {  // a NaN on either side counts as a change
        word = value;
        this->m_needToCall = true;
    }
    return this->m_needToCall;
}

// A changed text needs the routine as much as a changed number does.
ZR_PROC_TEMPLATE
bool ZR_PROC::PackVal(const char* value) {
    const bool changed = this->PackStr(GetOffset(m_current++), value);
    if (changed) this->m_needToCall = true;
    return changed;
}

// A scalar takes the element at the binding cursor; an array leaves it to the
// host's packing of that element type.
ZR_PROC_TEMPLATE
template <class Value>
bool ZR_PROC::PackVar(PackArray packArray, Value (ZR_VarParamProp::*read)() const) {
    const int dims = Proc::Dimensions(m_current);
    if (dims == 0) {
        ZR_VarParam* element = NextBoundElement();
        return PackVal(element ? (element->*read)() : Value());
    }
    const int arg = m_current++;
    (this->*packArray)(GetOffset(arg), dims, &m_sizes[m_sizeCursor]);
    m_sizeCursor += dims;
    return this->m_needToCall;
}

ZR_PROC_TEMPLATE
bool ZR_PROC::PackVarInteger() { return PackVar(&ZR_ProcedureType::PackIntegerArray, &ZR_VarParamProp::Integer); }
ZR_PROC_TEMPLATE
bool ZR_PROC::PackVarReal() { return PackVar(&ZR_ProcedureType::PackRealArray, &ZR_VarParamProp::Real); }
ZR_PROC_TEMPLATE
bool ZR_PROC::PackVarString() { return PackVar(&ZR_ProcedureType::PackStringArray, &ZR_VarParamProp::String); }

ZR_PROC_TEMPLATE
void ZR_PROC::PackInputVars() {
    m_sizeCursor = 0;
    m_current = 0;
    this->m_boundCursor = this->m_bound;
    while (m_current < InputArgs()) {
        const bool byReference = ByReference(m_current);
        switch (Proc::Type(m_current)) {
        case 2:
        case 3: byReference ? PackVarInteger() : PackVal(GetIntegerArg(m_current)); break;
        case 4: byReference ? PackVarReal() : PackVal(GetRealArg(m_current)); break;
        case 5: byReference ? PackVarString() : PackVal(GetStringArg(m_current)); break;
        default: ++m_current; break;
        }
    }
}

ZR_PROC_TEMPLATE
void ZR_PROC::PackOutputVars() {
    double* word = this->m_values + GetOffset(InputArgs());
    for (int j = 0; j < this->m_outputValues; ++j) {
        ZR_VarParam* element = NextBoundElement();
        if (element) word[j] = element->Real();
    }
}

ZR_PROC_TEMPLATE
constexpr bool ZR_PROC::AnyVariableInput() {
    for (int arg = 0; arg < NIn; ++arg)
        if (Proc::IsVariableInput(arg)) return true;
    return false;
}

// No procedure of the library lets its routine change an input, so there is
// nothing to write back; only the cursors return to the start.
ZR_PROC_TEMPLATE
void ZR_PROC::UnpackInputVars() {
    static_assert(!AnyVariableInput(), "writing inputs back from the routine is not supported");
    m_sizeCursor = 0;
    m_current = 0;
}

ZR_PROC_TEMPLATE
void ZR_PROC::InitializeCStrings() {
    if (this->m_values == nullptr) return;
    int sizeIndex = 0;
    for (int arg = 0; arg < InputArgs(); ++arg) {
        if (Proc::Dimensions(arg) == 0) continue;
        const long long n = ElementsOf(arg, sizeIndex);
        if (Proc::Type(arg) != 5 || this->IsFortran()) continue;
        const long long tableWords = (n * static_cast<long long>(sizeof(char*)) + 7) / 8;
        const int first = GetOffset(arg);
        if (first + tableWords + n * this->TypeSize(5) / 8 > this->m_words) continue;
        char** table = reinterpret_cast<char**>(this->m_values + first);
        char* texts = reinterpret_cast<char*>(this->m_values + first + tableWords);
        for (long long i = 0; i < n; ++i) table[i] = texts + i * this->TypeSize(5);
    }
}

// --- evaluation ---------------------------------------------------------------

// Zero-filled, so that a Jacobian before any good call reads zeros rather than
// whatever the heap held.
ZR_PROC_TEMPLATE
void ZR_PROC::EnsureDerivativeMatrix() {
    if (this->m_derivMatrix) return;
    const long long n = static_cast<long long>(this->m_inputValues) * this->m_outputElements;
    this->m_derivMatrix = NewZeroed<double>(n);
    this->m_derivMatrixSize = this->m_derivMatrix ? static_cast<std::int32_t>(n) : 0;
}

ZR_PROC_TEMPLATE
double ZR_PROC::MatrixAt(long long position) const {
    return position < this->m_derivMatrixSize ? this->m_derivMatrix[position] : 0.0;
}

// Every output element against every input value, row after row; never more
// pairs than the count the arrays are sized with.
ZR_PROC_TEMPLATE
void ZR_PROC::BuildIndexArrays(int count) {
    m_derivRows = NewZeroed<std::int32_t>(count);
    m_derivCols = NewZeroed<std::int32_t>(count);
    if (m_derivRows == nullptr || m_derivCols == nullptr) {
        MyFree(m_derivRows);
        MyFree(m_derivCols);
        m_derivRows = m_derivCols = nullptr;
        return;
    }
    int k = 0;
    for (int o = 0; o < this->m_outputElements; ++o)
        for (int c = 0; c < this->m_inputValues && k < count; ++c, ++k) {
            m_derivRows[k] = o + 1;
            m_derivCols[k] = c + 1;
        }
}

ZR_PROC_TEMPLATE
int ZR_PROC::CallFn(int type, bool flag) {
    if (!Bound()) return ZR_PROC_NOT_BOUND;
    if (type == 0 && Proc::ReturnsDerivatives()) type = 4;
    if (type == 3) type = 4;
    switch (type) {
    case 1:
        if (this->LastCall(1)) return 0;
        for (int k = 0; k < this->m_derivCount; ++k) this->m_derivValues[k] = 0.0;
        this->m_needToCall = true;
        break;
    case 2:
        if (this->LastCall(2) || this->LastCall(-1)) return 0;
        this->m_needToCall = true;
        break;
    case 4: this->m_needToCall = !(this->LastCall(4) && !Base::AlwaysCall() && InputArgs() != 0); break;
    default: break;
    }

    PackInputVars();
    if (m_callPending) this->m_needToCall = true;
    if (!this->m_needToCall) return 0;
    if (this->PresetOutputs()) PackOutputVars();

    std::int32_t ifail = 1;
    std::int32_t callType = type;
    std::int32_t hostCount = this->m_hostCount;
    // The routine gets a copy of the count its index and value arrays were sized with.
    std::int32_t derivCount = this->m_derivCount;
    std::int32_t scratch = 0;

    m_callPending = true;  // until a call is judged good
    const int loaded = this->EnsureCompatibleDLLLoaded(Level);
    if (loaded < 0) return loaded;

    ZR_COMPONENTLISTNAME* list = this->ComponentListName();
    if (list) list->BeginPropertiesCall();
    if (m_derivRows == nullptr && derivCount != 0) BuildIndexArrays(derivCount);
    if (Proc::ReturnsDerivatives()) EnsureDerivativeMatrix();
    ZR_Procedure13 routine = this->GetProcedure13Address(this->m_routine);
    // Without the index arrays the routine is not called and ifail stays 1.
    if (routine && (derivCount == 0 || m_derivRows))
        routine(&callType, this->m_values, m_sizes, this->m_values, &m_sizes[m_firstOutputSize],
                GetOffsets(0), GetOffsets(InputArgs()), &this->m_hostWord, this->m_hostReals, &hostCount,
                &derivCount, m_derivRows, m_derivCols, &scratch, this->m_derivValues, &ifail);
    if (list) list->EndPropertiesCall();

    const int status = this->CheckIFailAndOutputs(ifail, type, flag);
    if (status < 0) return status;
    m_callPending = false;
    if (this->LastCall(0) || this->LastCall(4)) {
        if (Base::PostsetInputs()) UnpackInputVars();
        if (this->LastCall(4)) NegateDerivatives();
    }
    return status;
}

ZR_PROC_TEMPLATE
int ZR_PROC::Residuals(double* values, int& index) {
    const int status = CallFn(0, true);
    if (status < 0) {
        index += Rows();
        return status;
    }
    const double* outputs = this->m_values + GetOffset(InputArgs());
    for (int j = 0; j < Rows(); ++j) {
        ZR_VarParam* element = this->m_bound[this->m_boundInputs + j];
        values[index++] = (element ? element->Real() : 0.0) - outputs[j];
    }
    return status;
}

// Each row has exactly the entries that NZAndEqnContribution counted: solver
// variables are tested again here, and a row never takes more entries than were
// counted for it, nor fewer.
ZR_PROC_TEMPLATE
int ZR_PROC::Jacobian(double* values, int& index) {
    EnsureDerivativeMatrix();
    const int status = CallFn(3, true);
    long long m = 0;
    for (int j = 0; j < Rows(); ++j) {
        values[index++] = 1.0;
        int room = this->m_varInputElements;
        int element = 0;
        int sizeIndex = 0;
        for (int arg = 0; arg < InputArgs(); ++arg) {
            const long long n = ElementsOf(arg, sizeIndex);
            if (!ByReference(arg)) {
                ++m;
                continue;
            }
            for (long long e = 0; e < n; ++e, ++m) {
                ZR_VarParam* bound = this->m_bound[element++];
                if (bound && bound->IsSolverVariable() && room > 0) {
                    values[index++] = MatrixAt(m);
                    --room;
                }
            }
        }
        for (; room > 0; --room) values[index++] = 0.0;
    }
    return status;
}

// --- equations ----------------------------------------------------------------

ZR_PROC_TEMPLATE
template <class Owner>
int ZR_PROC::Contribution(Owner* owner, int group, int& equations) {
    if (owner) owner->SetGroupLimits(group);
    equations += Rows();
    return Rows() * this->m_varInputElements + Rows();
}

ZR_PROC_TEMPLATE
int ZR_PROC::NZAndEqnContribution(ZR_StructureTypeEx* owner, int group, int& equations) {
    return Contribution(owner, group, equations);
}

ZR_PROC_TEMPLATE
int ZR_PROC::NZAndEqnContribution(ZR_ModelTypeEx* owner, int group, int& equations) {
    return Contribution(owner, group, equations);
}

// One equation per output element, named [k] for scalar output k and [k_e] for
// element e of array output k. Its terms are the output element and at most as
// many solver variables as NZAndEqnContribution counted.
ZR_PROC_TEMPLATE
template <class Owner>
void ZR_PROC::Declare(int group, int word1, int*& rows, int*& cols, int& equations, Owner* owner,
                      const char* text, int word2) {
    if (owner == nullptr) return;
    if (Rows() == 0) {
        owner->AddProcCall(nullptr, group);
        return;
    }
    ZR_ModelExtensions& builder = *owner;
    int sizeIndex = m_firstOutputSize;
    int number = 1;
    char name[1024] = {};
    name[0] = '[';
    for (int arg = InputArgs(); arg < TotalArgs(); ++arg) {
        std::snprintf(name + 1, sizeof name - 1, "%d", arg - InputArgs() + 1);
        const std::size_t numberEnd = std::strlen(name);
        const bool array = Proc::Dimensions(arg) != 0;
        const long long n = ElementsOf(arg, sizeIndex);
        for (long long e = 1; e <= n && number <= Rows(); ++e) {
            if (array)
                std::snprintf(name + numberEnd, sizeof name - numberEnd, "_%lld]", e);
            else
                std::snprintf(name + numberEnd, sizeof name - numberEnd, "]");
            auto* record = new ZR_ProcedureEquationType(this, number, word1, owner, text, equations, word2, name);
            if (record == nullptr) return;
            owner->AddEquation(record, equations, group);
            const int equation = equations - 1;
            builder.AddProcExpression(this, number, equation, text);
            builder.AddTerm(*this->m_bound[this->m_boundInputs + number - 1], rows, cols, equation);
            ++number;
            int room = this->m_varInputElements;
            for (int k = 0; k < this->m_inputElements && room > 0; ++k) {
                ZR_VarParam* element = this->m_bound[k];
                if (element && element->IsSolverVariable()) {
                    builder.AddTerm(*element, rows, cols, equation);
                    --room;
                }
            }
        }
    }
    owner->AddProcCall(this, group);
}

ZR_PROC_TEMPLATE
void ZR_PROC::CreateEquationsAndSetGroup(int group, int word1, int*& rows, int*& cols, int& equations,
                                         ZR_StructureTypeEx* owner, const char* text, int word2) {
    Declare(group, word1, rows, cols, equations, owner, text, word2);
}

ZR_PROC_TEMPLATE
void ZR_PROC::CreateEquationsAndSetGroup(int group, int word1, int*& rows, int*& cols, int& equations,
                                         ZR_ModelTypeEx* owner, const char* text, int word2) {
    Declare(group, word1, rows, cols, equations, owner, text, word2);
}

// --- INTERPOLATE --------------------------------------------------------------

template class ZR_ProcedureTemplate<ZRProc_INTERPOLATE, 4, 1, 2, ZR_ProcedureType_C, 4>;

ZRProc_INTERPOLATE::ZRProc_INTERPOLATE(bool flag, int mode) { SetMode(flag, mode); }
ZRProc_INTERPOLATE::ZRProc_INTERPOLATE(const ZRProc_INTERPOLATE& other) = default;
ZRProc_INTERPOLATE& ZRProc_INTERPOLATE::operator=(const ZRProc_INTERPOLATE& other) = default;
ZRProc_INTERPOLATE::~ZRProc_INTERPOLATE() = default;
const char* ZRProc_INTERPOLATE::ProcedureName() const { return "INTERP"; }
const char* ZRProc_INTERPOLATE::DLLName() const { return "ZRQuilt"; }
int ZRProc_INTERPOLATE::Precall(bool flag) { return CallFn(1, flag); }
