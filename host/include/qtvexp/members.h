// Parameters, variables, sets and the other member objects of the host.
#pragma once
#include <string>

#include "qtvexp/core.h"

// Attributes common to the host's parameters. A parameter's defaults come from its
// virtual ZR_Default... operations, read once by InitializeSystemAttributes, so a
// class that overrides them gets its own defaults.
class QTVEXP_API ZR_ParameterBase : public ZR_VarParam {
public:
    ZR_ParameterBase();
    ZR_ParameterBase(const ZR_ParameterBase& other);
    ZR_ParameterBase& operator=(const ZR_ParameterBase& other);
    ~ZR_ParameterBase() override;

    virtual const ZR_Value* ZR_DefaultVALUE() const;
    virtual const ZR_Value* ZR_DefaultLOWER() const;
    virtual const ZR_Value* ZR_DefaultUPPER() const;

    bool SystemAttributesInitialised() const;
    int SystemAttributesInitialisations() const;  // how often they were initialised
    const ZR_Value* Lower() const;  // null when unbounded
    const ZR_Value* Upper() const;
    const char* ZR_KindName() const override;

protected:
    // Reads the class's defaults; each parameter class calls it with its own extras.
    void InitializeCommonAttributes();
    std::string Accept(ZR_Value& value) const override;
    virtual ZR_Value::Kind ValueKind() const = 0;

    ZR_Value m_lower;
    ZR_Value m_upper;
    bool m_hasLower;
    bool m_hasUpper;
    int m_initialisations;
};

class QTVEXP_API ZR_REALPARAMETER : public ZR_ParameterBase {
public:
    explicit ZR_REALPARAMETER(bool construct = true);
    ZR_REALPARAMETER(const ZR_REALPARAMETER& other);
    ZR_REALPARAMETER& operator=(const ZR_REALPARAMETER& other);
    ~ZR_REALPARAMETER() override;

    static const char* ZR_ContainerId();
    void InitializeSystemAttributes();

    virtual int ZR_PQCol() const;
    virtual int ZR_PQRow() const;
    virtual const ZR_Value* ZR_DefaultPHYSICALQUANTITY() const;
    virtual const ZR_Value* ZR_DefaultBASEUOMNAME() const;

    ZR_REALPARAMETER& operator*() { return *this; }
    double v();
    double fv() const;
    double TermValue() const override;
    const std::string& PhysicalQuantity() const;
    const std::string& BaseUnit() const;
    int PQCol() const;  // as read at initialisation; 0 before
    int PQRow() const;

protected:
    ZR_Value::Kind ValueKind() const override;

private:
    std::string m_quantity;
    std::string m_unit;
    int m_pqCol;
    int m_pqRow;
};

class QTVEXP_API ZR_INTEGERPARAMETER : public ZR_ParameterBase {
public:
    explicit ZR_INTEGERPARAMETER(bool construct = true);
    ZR_INTEGERPARAMETER(const ZR_INTEGERPARAMETER& other);
    ZR_INTEGERPARAMETER& operator=(const ZR_INTEGERPARAMETER& other);
    ~ZR_INTEGERPARAMETER() override;

    static const char* ZR_ContainerId();
    void InitializeSystemAttributes();

    ZR_INTEGERPARAMETER& operator*() { return *this; }
    int v();
    int fv() const;
    double TermValue() const override;

protected:
    ZR_Value::Kind ValueKind() const override;
};

class QTVEXP_API ZR_STRINGPARAMETER : public ZR_ParameterBase {
public:
    explicit ZR_STRINGPARAMETER(bool construct = true);
    ZR_STRINGPARAMETER(const ZR_STRINGPARAMETER& other);
    ZR_STRINGPARAMETER& operator=(const ZR_STRINGPARAMETER& other);
    ~ZR_STRINGPARAMETER() override;

    static const char* ZR_ContainerId();
    void InitializeSystemAttributes();

    virtual const ZR_Value* ZR_DefaultTAG() const;
    virtual const ZR_Value* ZR_DefaultVALID() const;
    virtual const ZR_SetValue* ZR_VALIDValue() const;  // the valid set in use, or null

    ZR_STRINGPARAMETER& operator*() { return *this; }
    ZR_STRINGPARAMETER& v() { return *this; }
    const ZR_STRINGPARAMETER& fv() const { return *this; }
    operator const char*() const;

protected:
    ZR_Value::Kind ValueKind() const override;
    std::string Accept(ZR_Value& value) const override;

private:
    ZR_SetValue m_valid;
    bool m_hasValid;
};

class QTVEXP_API ZR_FalseLOGICALPARAMETER : public ZR_ParameterBase {
public:
    explicit ZR_FalseLOGICALPARAMETER(bool construct = true);
    ZR_FalseLOGICALPARAMETER(const ZR_FalseLOGICALPARAMETER& other);
    ZR_FalseLOGICALPARAMETER& operator=(const ZR_FalseLOGICALPARAMETER& other);
    ~ZR_FalseLOGICALPARAMETER() override;
    void InitializeSystemAttributes();
    ZR_FalseLOGICALPARAMETER& operator*() { return *this; }
    bool v();
    bool fv() const;

protected:
    ZR_Value::Kind ValueKind() const override;
};

class QTVEXP_API ZR_REALVARIABLE : public ZR_VarParam {
public:
    explicit ZR_REALVARIABLE(bool construct = true);
    ZR_REALVARIABLE(const ZR_REALVARIABLE& other);
    ZR_REALVARIABLE& operator=(const ZR_REALVARIABLE& other);
    ~ZR_REALVARIABLE() override;
    static const char* ZR_ContainerId();
    ZR_REALVARIABLE& operator*() { return *this; }
    double v();
    double fv() const;
    void SetValue(double value);  // the solver's current value
    double TermValue() const override;
    const char* ZR_KindName() const override;

private:
    double m_value;
};

class QTVEXP_API ZR_PARTIALDERIVATIVE : public ZR_REALVARIABLE {
public:
    explicit ZR_PARTIALDERIVATIVE(bool construct = true);
    ZR_PARTIALDERIVATIVE(const ZR_PARTIALDERIVATIVE& other);
    ZR_PARTIALDERIVATIVE& operator=(const ZR_PARTIALDERIVATIVE& other);
    ~ZR_PARTIALDERIVATIVE() override;
    static const char* ZR_ContainerId();
    ZR_PARTIALDERIVATIVE& operator*() { return *this; }
};

// A set member (index set or set parameter).
class QTVEXP_API ZR_Set : public ZR_VarParamProp {
public:
    explicit ZR_Set(int memberType);
    ZR_Set(const ZR_Set& other);
    ZR_Set& operator=(const ZR_Set& other);
    ~ZR_Set() override;
    const ZR_SetValue& v();
    const ZR_SetValue& fv() const;
    const char* ZR_KindName() const override;

protected:
    std::string Accept(ZR_Value& value) const override;

private:
    int m_memberType;
};

class QTVEXP_API ZR_INTEGERSET : public ZR_Set {
public:
    ZR_INTEGERSET();
    ZR_INTEGERSET(const ZR_INTEGERSET& other);
    ZR_INTEGERSET& operator=(const ZR_INTEGERSET& other);
    ~ZR_INTEGERSET() override;
    ZR_INTEGERSET& operator*() { return *this; }
};

class QTVEXP_API ZR_STRINGSET : public ZR_Set {
public:
    explicit ZR_STRINGSET(bool construct = true);
    ZR_STRINGSET(const ZR_STRINGSET& other);
    ZR_STRINGSET& operator=(const ZR_STRINGSET& other);
    ~ZR_STRINGSET() override;
    ZR_STRINGSET& operator*() { return *this; }
};

// Names the component list that a model uses.
class QTVEXP_API ZR_COMPONENTLISTNAME : public ZR_VarParamProp {
public:
    ZR_COMPONENTLISTNAME();
    ZR_COMPONENTLISTNAME(const ZR_COMPONENTLISTNAME& other);
    ZR_COMPONENTLISTNAME& operator=(const ZR_COMPONENTLISTNAME& other);
    ~ZR_COMPONENTLISTNAME() override;
    void BeginPropertiesCall();
    void EndPropertiesCall();
    int OpenPropertiesCalls() const;
    const char* ZR_KindName() const override;

private:
    int m_open;
};
