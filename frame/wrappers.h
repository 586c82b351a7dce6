// Member wrappers: references to instances elsewhere in the model tree, members
// whose type is chosen later, and arrays of member objects indexed by sets. Each
// adds to its host base what the host cannot know: the type T, how to build a
// default T and which type id T answers to. Every member form is read through
// operator*, so a statement reads a member alike whatever its form.
#pragma once
#include <type_traits>

#include "frame/frame.h"
#include "frame/index_bases.h"

// A new T on the host heap, built as a member of its kind is built by default: a
// model, stream, structure or port type registers its members (construct flag
// set, no owner), a parameter or variable initialises its system attributes
// (construct flag set), an array starts empty. Null, with nothing built, when
// the heap yields no block; when T's constructor throws, the block goes back.
template <class T>
ZR_Type* ZR_NewDefault() {
    static_assert(std::is_base_of_v<ZR_Type, T>, "members are host types");
    if constexpr (ZR_IsLibraryType<T>::value) {
        return new T(true, nullptr);
    } else if constexpr (std::is_constructible_v<T, bool>) {
        return new T(true);
    } else {
        return new T();
    }
}

// Member functions are defined outside the class bodies so that an exported
// instance exports them everywhere, Windows included.

// A reference to an instance of T that the host links. The host links every
// reference before the owner's operations read it.
template <class T>
class ORVANE_TEMPLATE_API ZR_External : public ZR_ExternalBase {
public:
    ZR_External();
    ZR_External(const ZR_External& other);
    ~ZR_External() override;
    ZR_External& operator=(const ZR_External& other);

    T& operator*();
    // The id of T, or of its nearest base that declares one.
    const char* ExternalTypeName() override;
};

// A member whose type is chosen later: a string parameter standing for an
// instance of T or of a type derived from it. The host chooses before the
// owner's operations read it, else the default T is built.
template <class T>
class ORVANE_TEMPLATE_API ZR_Virtual : public ZR_VirtualBase {
public:
    ZR_Virtual();
    ~ZR_Virtual() override;
    ZR_Virtual& operator=(const ZR_Virtual& other);

    T& operator*();
    ZR_Type* NewDefaultVirtual() override;
    const char* VirtualBaseType() override;
};

template <class T>
ZR_External<T>::ZR_External() : ZR_ExternalBase(nullptr) {}
template <class T>
ZR_External<T>::ZR_External(const ZR_External& other) : ZR_ExternalBase(other) {}
template <class T>
ZR_External<T>::~ZR_External() {}
template <class T>
ZR_External<T>& ZR_External<T>::operator=(const ZR_External& other) {
    ZR_ExternalBase::operator=(other);
    return *this;
}
template <class T>
T& ZR_External<T>::operator*() {
    return *static_cast<T*>(ExternalLink());
}
template <class T>
const char* ZR_External<T>::ExternalTypeName() {
    return T::ZR_ContainerId();
}

template <class T>
ZR_Virtual<T>::ZR_Virtual() : ZR_VirtualBase(nullptr) {
    ZR_STRINGPARAMETER::InitializeSystemAttributes();
}
template <class T>
ZR_Virtual<T>::~ZR_Virtual() {}
template <class T>
ZR_Virtual<T>& ZR_Virtual<T>::operator=(const ZR_Virtual& other) {
    ZR_VirtualBase::operator=(other);
    return *this;
}
template <class T>
T& ZR_Virtual<T>::operator*() {
    return *static_cast<T*>(VirtualLink());
}
template <class T>
ZR_Type* ZR_Virtual<T>::NewDefaultVirtual() {
    return ZR_NewDefault<T>();
}
template <class T>
const char* ZR_Virtual<T>::VirtualBaseType() {
    return T::ZR_ContainerId();
}

// Arrays of T, indexed by one integer, two, three, or one text. Both arguments
// name the element type. An element comes into being when it is first asked for
// (operator()), or through NewElements or CreateMissingArrayElement; the array
// owns its elements. operator() passes on what the base's Find gives: the
// owner's operations rely on the heap giving the element's block.
#define ORVANE_ARRAY_TEMPLATE(Array, Base, Params, Args)                 \
    template <class T, class Element>                                    \
    class ORVANE_TEMPLATE_API Array : public Base {                      \
        static_assert(std::is_same_v<T, Element>, "one element type");   \
                                                                         \
    public:                                                              \
        Array();                                                         \
        Array(const Array& other);                                       \
        ~Array() override;                                               \
        Array& operator=(const Array& other);                            \
                                                                         \
        T& operator() Params;                                            \
        ZR_Type* NewElement() override;                                  \
        Array& operator*();                                              \
        Array& v();                                                      \
    };                                                                   \
                                                                         \
    template <class T, class E>                                          \
    Array<T, E>::Array() {}                                              \
    template <class T, class E>                                          \
    Array<T, E>::Array(const Array& other) : Base(other) {}              \
    template <class T, class E>                                          \
    Array<T, E>::~Array() {}                                             \
    template <class T, class E>                                          \
    Array<T, E>& Array<T, E>::operator=(const Array& other) {            \
        Base::operator=(other);                                          \
        return *this;                                                    \
    }                                                                    \
    template <class T, class E>                                          \
    T& Array<T, E>::operator() Params {                                  \
        return *static_cast<T*>(this->Find Args);                        \
    }                                                                    \
    template <class T, class E>                                          \
    ZR_Type* Array<T, E>::NewElement() {                                 \
        return ZR_NewDefault<T>();                                       \
    }                                                                    \
    template <class T, class E>                                          \
    Array<T, E>& Array<T, E>::operator*() {                              \
        return *this;                                                    \
    }                                                                    \
    template <class T, class E>                                          \
    Array<T, E>& Array<T, E>::v() {                                      \
        return *this;                                                    \
    }

ORVANE_ARRAY_TEMPLATE(ZR_ARRAY_I, ZR_BASE_I, (int i), (i))
ORVANE_ARRAY_TEMPLATE(ZR_ARRAY_II, ZR_BASE_II, (int i, int j), (i, j))
ORVANE_ARRAY_TEMPLATE(ZR_ARRAY_III, ZR_BASE_III, (int i, int j, int k), (i, j, k))
ORVANE_ARRAY_TEMPLATE(ZR_ARRAY_S, ZR_BASE_S, (const char* index), (index))
#undef ORVANE_ARRAY_TEMPLATE
