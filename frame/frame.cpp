#include "frame/frame.h"

#include <cctype>

bool ZR_EqualNoCase(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return false;
    for (;; ++a, ++b) {
        const int ca = std::tolower(static_cast<unsigned char>(*a));
        const int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb) return false;
        if (ca == 0) return true;
    }
}

int SetContainsString(const char* text, const SUValue& value) { return (value >= text) != 0 ? 1 : 0; }

ZR_Registrar::ZR_Registrar(ZR_Container& self, ZR_Container* const& ownerWord)
    : m_self(self), m_ownerWord(ownerWord) {}

ZR_Container* ZR_Registrar::Owner() const { return m_ownerWord ? m_ownerWord : &m_self; }

ZR_Type* ZR_Registrar::Add(ZR_Type& member, const char* name, const char* description, int direction) {
    return member.AddProperty(Owner(), name, description, direction, false);
}

ZR_ExternalBase* ZR_Registrar::Add(ZR_ExternalBase& member, const char* name, const char* description,
                                   int direction) {
    return member.AddProperty(Owner(), name, description, direction, false);
}

ZR_Type* ZR_Registrar::Add(ZR_VirtualBase& member, const char* name, const char* description, int direction) {
    return member.AddProperty(Owner(), name, description, direction, false);
}

void ZR_Registrar::AddSignalPort(ZR_Type& port, const char* name, int direction) {
    Add(port, name, nullptr, direction)->UnsetIsToBeExported();
}

void ZR_Registrar::AddConnectionEnd(ZR_Type& port, const char* name, int direction) {
    Add(port, name, nullptr, direction)->HostPortType(4);
}
