// The containment and type tree of the host: containable -> type -> container ->
// model type -> the extended model, port and structure types.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "qtvexp/api.h"
#include "qtvexp/value.h"

// Property directions.
enum { ZR_DIR_NONE = 0, ZR_DIR_INPUT = 4, ZR_DIR_OUTPUT = 8 };

// Operator codes of the expression builder.
enum EOp {
    EOP_ZERO_TEST = 1,  // one operand; zero exactly when its operand is zero
    EOP_PLUS = 19,
    EOP_MINUS = 20,
    EOP_TIMES = 21,
    EOP_DIVIDE = 22,
    EOP_SQUARE = 40,    // one operand
};

// Reference counted object that the host can hold. Every object of the host type
// tree lives in the host heap, whichever module created it.
class QTVEXP_API ZR_Containable {
public:
    ZR_Containable();
    ZR_Containable(const ZR_Containable& other);
    ZR_Containable& operator=(const ZR_Containable& other);  // the count is not copied
    virtual ~ZR_Containable();

    virtual long QueryInterface(const char* iid, void** out);
    virtual unsigned long AddRef();
    virtual unsigned long Release();  // destroys the object when the count reaches zero
    unsigned long RefCount() const;

    // What kind of member this is, for listings ("parameter", "port", ...).
    virtual const char* ZR_KindName() const;

    static void* operator new(std::size_t bytes) noexcept;
    static void* operator new[](std::size_t bytes) noexcept;
    static void operator delete(void* block) noexcept;
    static void operator delete[](void* block) noexcept;
    static void* operator new(std::size_t, void* where) noexcept { return where; }
    static void operator delete(void*, void*) noexcept {}

    // The container whose property list names this object, if any.
    ZR_Container* RegisteredIn() const;

private:
    friend class ZR_Container;
    unsigned long m_refs;
    ZR_Container* m_registeredIn;
};

// A named property of a container.
class QTVEXP_API ZR_Type : public ZR_Containable {
public:
    ZR_Type();
    ZR_Type(const ZR_Type& other);
    ZR_Type& operator=(const ZR_Type& other);  // registration is not copied
    ~ZR_Type() override;

    // Enters this object as a property of owner and returns it.
    ZR_Type* AddProperty(ZR_Container* owner, const char* name, const char* description,
                         int direction, bool flag);
    void UnsetIsToBeExported();
    void HostPortType(int kind);
    void SetDirection(int direction);

    const char* PropertyName() const;  // "" until registered
    const char* Description() const;   // null when none was given
    ZR_Container* PropertyOwner() const;  // the owner given at registration
    int Direction() const;
    bool RegistrationFlag() const;
    bool IsToBeExported() const;
    int GetHostPortType() const;
    bool IsRegistered() const;

    // Name for listings: owner path and property name, or array and index.
    std::string FullName() const;
    // Set by arrays for their elements: the array and the element's index text.
    // With an empty index text the object goes by the other's name alone: so a
    // replaceable member names the instance it stands for.
    void SetElementOf(const ZR_Type* array, const std::string& indexText);
    const ZR_Type* ElementOf() const;
    const std::string& IndexText() const;

protected:
    // AddProperty with the way the member was registered (ZR_Container::Property::via).
    ZR_Type* RegisterProperty(ZR_Container* owner, const char* name, const char* description, int direction,
                              bool flag, int via);

private:
    std::string m_name;
    std::string m_description;
    bool m_hasDescription;
    int m_direction;
    bool m_flag;
    bool m_export;
    int m_hostPortType;
    const ZR_Type* m_elementOf;
    std::string m_indexText;
};

// A property that holds a value: parameter, variable or set. Its value is the one
// fixed by the user when there is one, else the last one assigned by a statement,
// else its default.
class QTVEXP_API ZR_VarParamProp : public ZR_Type {
public:
    ZR_VarParamProp();
    ZR_VarParamProp(const ZR_VarParamProp& other);
    ZR_VarParamProp& operator=(const ZR_VarParamProp& other);  // copies the values
    ~ZR_VarParamProp() override;

    // Takes an assigned value; negative when refused (wrong kind, out of bounds).
    virtual long Assign(ZR_Value* value);
    // The current value as each kind.
    virtual int Integer() const;
    virtual double Real() const;
    virtual const char* String() const;
    // Sets the value of an internal index set, which no user can fix.
    long SetInternalValue(const ZR_Value& value);
    // Fixes the value as the user's; negative when refused.
    long SetUserValue(const ZR_Value& value);
    void ClearUserValue();
    bool HasUserValue() const;
    bool HasAssignedValue() const;
    void ClearAssignedValue();
    int AssignedStatement() const;  // 0 when none
    int AssignedRun() const;

    const ZR_Value& EffectiveValue() const;
    const ZR_Value& DefaultValue() const;

    void AddDependent(ZR_Containable* dependent);
    void RemoveDependent(ZR_Containable* dependent);
    int DependentCount() const;

    // Why the last refused value was refused.
    const std::string& LastError() const;

protected:
    void SetDefaultValue(const ZR_Value& value);
    // Checks a candidate value against kind, bounds and valid set, converting it to
    // the property's own kind where that is sound; "" when accepted.
    virtual std::string Accept(ZR_Value& value) const;
    long Refuse(const std::string& why);

private:
    // Tells the arrays that this set dimensions that its value may have changed.
    void ValueChanged();

    ZR_Value m_default;
    ZR_Value m_user;
    ZR_Value m_assigned;
    bool m_hasUser;
    bool m_hasAssigned;
    int m_assignedRun;   // the assignment run that last assigned the value
    const ZR_Container* m_assignedBy;  // the instance whose run that was
    int m_registrySlot;  // place in the host's list of assigned values, or -1
    friend class qtvhost::Host;
    std::vector<ZR_Containable*> m_dependents;
    std::string m_error;
};

// A variable or parameter that can stand as a term of an equation.
class QTVEXP_API ZR_VarParam : public ZR_VarParamProp {
public:
    ZR_VarParam();
    ZR_VarParam(const ZR_VarParam& other);
    ZR_VarParam& operator=(const ZR_VarParam& other);
    ~ZR_VarParam() override;
    // The term's numeric value as the host's evaluator sees it.
    virtual double TermValue() const;
    // Column of this term in the host's Jacobian pattern, given on first use.
    int ColumnIndex() const;
    double Real() const override;  // the term's value
    // Whether the solver computes this term; real variables are solver variables
    // until the host fixes them.
    bool IsSolverVariable() const;
    void SetSolverVariable(bool solver);

private:
    mutable int m_column;
    bool m_solver;
};

class ZR_COMPONENTLISTNAME;

// A type that holds properties.
class QTVEXP_API ZR_Container : public ZR_Type {
public:
    struct Property {
        ZR_Containable* member;
        std::string name;
        std::string description;
        bool hasDescription;
        int direction;
        bool flag;
        int via;  // 0 ZR_Type, 1 ZR_ExternalBase, 2 ZR_VirtualBase
    };

    ZR_Container();
    ZR_Container(const ZR_Container& other);
    ZR_Container& operator=(const ZR_Container& other);  // the property list is not copied
    ~ZR_Container() override;

    virtual ZR_COMPONENTLISTNAME* ComponentList();
    virtual void SetDims();
    virtual const char* ZR_DefaultDESCRIPTION() const;
    virtual bool ContainerDerivesFrom(const char* name);
    virtual long ExecuteAssignments(int level, int arg);

    void InitialiseInternalIndexSet(ZR_VarParamProp& set, const ZR_Value& value, int pass);

    int PropertyCount() const;
    const Property& PropertyAt(int index) const;
    const Property* FindProperty(const char* name) const;  // case-insensitive
    // Enters member under the property's name; the owner forgets it again when
    // the member goes first, and the member forgets the owner when it goes first.
    void AddRegisteredProperty(ZR_Containable* member, const Property& property);
    void ForgetProperty(const ZR_Containable* member);

private:
    std::vector<Property> m_properties;
};

// The host's equation interface. Equation instances are declared twice: once as
// groups and incidence (SetUpEquations) and once as names and prefix expressions
// (JacPattern).
class QTVEXP_API ZR_ModelType : public ZR_Container {
public:
    ZR_ModelType();
    ZR_ModelType(const ZR_ModelType& other);
    ZR_ModelType& operator=(const ZR_ModelType& other);
    ~ZR_ModelType() override;

    virtual int JacPattern(int*& rows, int*& cols, ZR_EquationType** types);
    virtual int Jacobian(double* values, int a, int b);
    virtual int Residuals(double* values, int a, int b);
    virtual int SetUpEquations();

    static int m_stLastGroup;  // the last equation group handed out

    void SetGroupLimits(int group);
    void AddNonZero(ZR_VarParam& term);
    int SetLocalEqnCount(int count);
    void AddEquation(const char* name, int& count, int group);
    // Opens the next equation from a record that the host then owns.
    void AddEquation(ZR_EquationType* record, int& count, int group);
};

// The expression builder part of a model, port or structure.
class QTVEXP_API ZR_ModelExtensions {
public:
    ZR_ModelExtensions();
    ZR_ModelExtensions(const ZR_ModelExtensions& other);
    ZR_ModelExtensions& operator=(const ZR_ModelExtensions& other);
    virtual ~ZR_ModelExtensions();

    virtual void ResetExpressions();
    virtual void AddOp(EOp code, int equation);
    virtual void AddTerm(double value, int equation);
    virtual void AddTerm(int value, int equation);
    // Also writes the term's Jacobian row and column at the cursors and advances them.
    virtual void AddTerm(ZR_VarParam& term, int*& rows, int*& cols, int equation);
    // Ties the equation to element `number` of a procedure's outputs.
    virtual void AddProcExpression(ZR_ProcedureType* procedure, int number, int equation, const char* text);
};

class QTVEXP_API ZR_ModelDiscontinuity {
public:
    ZR_ModelDiscontinuity();
    virtual ~ZR_ModelDiscontinuity();
    virtual int DiscontinuityCount();
};

class QTVEXP_API ZR_ModelExtensions2 {
public:
    ZR_ModelExtensions2();
    virtual ~ZR_ModelExtensions2();
    virtual int ExtensionLevel();
};

class QTVEXP_API ZR_ModelTypeEx : public ZR_ModelType, public ZR_ModelExtensions {
public:
    ZR_ModelTypeEx();
    ZR_ModelTypeEx(const ZR_ModelTypeEx& other);
    ZR_ModelTypeEx& operator=(const ZR_ModelTypeEx& other);
    ~ZR_ModelTypeEx() override;
    const char* ZR_KindName() const override;
    void AddProcCall(ZR_ProcedureType* procedure, int group);  // procedure may be null
};

class QTVEXP_API ZR_ModelTypeEx2 : public ZR_ModelTypeEx,
                                   public ZR_ModelDiscontinuity,
                                   public ZR_ModelExtensions2 {
public:
    ZR_ModelTypeEx2();
    ZR_ModelTypeEx2(const ZR_ModelTypeEx2& other);
    ZR_ModelTypeEx2& operator=(const ZR_ModelTypeEx2& other);
    ~ZR_ModelTypeEx2() override;
};

class QTVEXP_API ZR_PortType : public ZR_ModelType {
public:
    ZR_PortType();
    ZR_PortType(const ZR_PortType& other);
    ZR_PortType& operator=(const ZR_PortType& other);
    ~ZR_PortType() override;
    virtual ZR_VarParamProp* IsConnected();
    const char* ZR_KindName() const override;

    // The host's walk over ports: a plain port is one port, found at index 0.
    // GetPort lowers the caller's index past this port and answers this port when
    // the index was 0 (or below), else null.
    virtual void DumpStructure();
    virtual int PortCount(bool flag) const;
    virtual ZR_Type* GetPort(int& index, bool flag);
    // Connections by name; a plain port holds none.
    virtual ZR_PortType* CreateConnectionPort(const char* name, unsigned flags);
    virtual ZR_PortType* FindConnectionPort(const char* name);
    virtual bool IsAMultiport() const;

    using ZR_Type::HostPortType;
    int HostPortType() const;  // the kind given by HostPortType(int)
};

class QTVEXP_API ZR_PortTypeEx : public ZR_PortType, public ZR_ModelExtensions {
public:
    ZR_PortTypeEx();
    ZR_PortTypeEx(const ZR_PortTypeEx& other);
    ZR_PortTypeEx& operator=(const ZR_PortTypeEx& other);
    ~ZR_PortTypeEx() override;
};

class QTVEXP_API ZR_StructureType : public ZR_ModelType {
public:
    ZR_StructureType();
    ZR_StructureType(const ZR_StructureType& other);
    ZR_StructureType& operator=(const ZR_StructureType& other);
    ~ZR_StructureType() override;
    const char* ZR_KindName() const override;
};

class QTVEXP_API ZR_StructureTypeEx : public ZR_StructureType,
                                      public ZR_ModelExtensions,
                                      public ZR_ModelDiscontinuity {
public:
    ZR_StructureTypeEx();
    ZR_StructureTypeEx(const ZR_StructureTypeEx& other);
    ZR_StructureTypeEx& operator=(const ZR_StructureTypeEx& other);
    ~ZR_StructureTypeEx() override;
    void AddProcCall(ZR_ProcedureType* procedure, int group);  // procedure may be null
};

// Opaque to model libraries: the host's per-equation type record.
class QTVEXP_API ZR_EquationType {
public:
    virtual ~ZR_EquationType();
    // Records live in the host heap whoever creates them, so the host can free
    // them; null when the heap yields no block.
    static void* operator new(std::size_t bytes) noexcept;
    static void operator delete(void* block) noexcept;
};
