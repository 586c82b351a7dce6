// Arrays of member objects indexed by sets: the general array, its element vector
// and its one-index forms. Arrays of more indices stand on ZR_Matrix in the model
// libraries.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "qtvexp/members.h"

// The element pointers of one array, dense over the product of its index sets,
// row-major with the last index fastest. A slot holds null until its element is
// built. The vector holds one reference to every element it stores and gives it
// back when the slot goes, so an element lives no longer than its array unless
// someone else holds it too.
class QTVEXP_API ZR_LongPtrVectorOwnsData {
public:
    ZR_LongPtrVectorOwnsData();
    ZR_LongPtrVectorOwnsData(const ZR_LongPtrVectorOwnsData&) = delete;
    ZR_LongPtrVectorOwnsData& operator=(const ZR_LongPtrVectorOwnsData&) = delete;
    ~ZR_LongPtrVectorOwnsData();

    int Elements() const;  // number of slots
    ZR_Type* operator[](int position) const;  // the element in that slot; null when empty or outside

    // Widens the vector for one new index value of one dimension: `countBefore` is
    // how many values that dimension had before, `position` where the new one
    // went, `stride` the product of the sizes of the later dimensions. Every
    // element keeps its index tuple; the new slots are null. (0, 0, n) on an empty
    // vector makes n null slots. Arguments that do not describe the vector's
    // layout are refused with an error and change nothing.
    void AddNullEntries(int position, int countBefore, int stride);

    // Makes room for `slots` slots ahead of widening, so that the widening cannot
    // fail half-way. False, with an error, when the host cannot hold that many.
    bool Reserve(long long slots);

private:
    friend class ZR_Matrix;
    void Place(int position, ZR_Type* element);  // takes one reference
    void Remove(int position);                   // the slot goes, its element is given back
    void Reset(int slots);                       // gives every element back, leaves null slots

    std::vector<ZR_Type*> m_slots;
};

// The general array. A form with N indices keeps N ZR_SetValue objects, the index
// values present in each dimension, one after another, and gives the address of
// the first to this constructor. Elements come into being through the form's
// Find, NewElements and CreateMissingArrayElement, which build them through the
// virtual NewElement.
//
// A copy has index sets equal to the source's and as many slots, all null: the
// elements of an array are its own members (they are named after it), so a copy
// builds its own on demand instead of sharing or aliasing the source's. A copy
// is bound to no declared set until its owner's SetDims binds it. Assignment
// does the same to an existing array: its elements go, its declared sets stay.
//
// An element is a member of its array: it takes the array's direction, export
// mark and host port kind as they are when the element is built.
class QTVEXP_API ZR_Matrix : public ZR_Type {
public:
    ~ZR_Matrix() override;

    static const char* ZR_ContainerId();
    const char* ZR_KindName() const override;

    int Dimensions() const;
    const ZR_SetValue& IndexSet(int dimension) const;  // the values present in that dimension
    ZR_Set* DeclaredSet(int dimension) const;          // null when none is bound
    int SlotCount() const;
    ZR_Type* Slot(int position) const;

    // Reads one index up to the terminator and moves the cursor past it. Blanks
    // around the index are skipped; a text index may be written in double quotes
    // (a doubled quote stands for one), which lets it hold the terminator. False,
    // with cursor and destination unchanged, when no index can be read: nothing
    // before the terminator (an empty text is written ""), no terminator, an
    // integer that is not one or out of range, or a text longer than the 127
    // characters the buffer holds.
    static bool ReadIndex(const char*& cursor, int& index, char terminator);
    static bool ReadIndex(const char*& cursor, char (&index)[128], char terminator);

    // Why `element` ("it") is not an element that this array holds within the
    // index sets declared for it; "" when it is. An equation may name only such.
    // A dimension bound to no declared set accepts every index.
    std::string WhyNotHeld(const ZR_Type& element) const;

    // Removes the array from the dependents of its declared sets and forgets them.
    void CancelDependenceOnDeclaredSets();
    // Called by a declared set that goes before the array.
    void ForgetDeclaredSet(const ZR_VarParamProp* set);
    // Called by a declared set whose value may have changed.
    void DeclaredSetChanged(const ZR_VarParamProp* set);

    // The ports among the elements, in slot order, for the host's walk over
    // ports: how many they stand for, and the one that `index` names. Each port
    // element lowers the index past itself as ZR_PortType::GetPort does, so an
    // index beyond the last leaves what remains of it for the ports after the
    // array, and the answer is null. Elements that are not ports count nothing.
    int PortCount(bool flag) const;
    ZR_Type* GetPort(int& index, bool flag);

protected:
    // What the array does when the set declared for a dimension takes a new
    // value. Arrays build their elements on demand, so by default nothing.
    // (Declared here so that the element operations stay the table's last.)
    virtual void FollowDeclaredSet(int dimension);

public:
    virtual ZR_Type* NewElement() = 0;
    virtual int NewElements() = 0;  // builds every missing element; how many were built
    virtual void CreateMissingArrayElement(const char* indexText) = 0;

protected:
    ZR_Matrix(int dimensions, ZR_SetValue* firstIndexSet);
    ZR_Matrix(const ZR_Matrix& other);
    ZR_Matrix& operator=(const ZR_Matrix& other);

    // Builds one element through NewElement, gives it the pending index text and
    // stores it at CurrentPosition. Null, with an error, when no element could be
    // built or CurrentPosition is no empty slot.
    ZR_Type* AddElement();
    // Appends one index to the pending index text of the next element; dimension
    // 0 starts a new text. Integers are written in decimal, texts in double quotes
    // with inner quotes doubled, indices separated by commas.
    void AddIndexToString(int index, int dimension);
    void AddIndexToString(const char* index, int dimension);
    // Binds the declared set of one dimension (the forms' SetDim).
    void SetDeclaredSet(int dimension, ZR_Set* set);
    // The slot goes and its element is given back; the index sets are the
    // caller's to mend.
    void RemoveSlot(int position);
    // What a look-up gives, with an error, for an index the array cannot hold:
    // one element of the array's kind that sits in no slot and that no index
    // names, built on first need and kept until the array goes. Model libraries
    // take what a look-up gives without a test, so it must be usable; null only
    // when not even that element can be built.
    ZR_Type* Unheld(const std::string& indexText);

    ZR_LongPtrVectorOwnsData ElementVector;
    int CurrentPosition;  // flat position of the element being found or built

    struct OneIndex;  // the one-index forms' operations

private:
    int m_dimensions;
    std::ptrdiff_t m_indexSetsOffset;  // from this object to its first index set; the same in every copy
    std::vector<ZR_Set*> m_declared;
    std::string m_pending;
    ZR_Type* m_unheld;
};

// One integer index.
class QTVEXP_API ZR_BASE_I : public ZR_Matrix {
public:
    ZR_BASE_I();
    ZR_BASE_I(const ZR_BASE_I& other);
    ZR_BASE_I& operator=(const ZR_BASE_I& other);
    ~ZR_BASE_I() override;

    void SetDim(ZR_Set& set);
    ZR_Type* Find(int index);  // built when missing
    int NewElements() override;
    void CreateMissingArrayElement(const char* indexText) override;  // "3)"

protected:
    ZR_SetValue IndexSets[1];
};

// One text index. Bound to a set, the array follows it: a text set names things
// that exist as soon as they are named (the connections of a multiport, which
// the host walks as ports), so every name the set takes gets its element at
// once, a name that leaves the set takes its element with it, and a name
// outside the set has no element. Unbound, the array builds elements on demand
// for any name.
class QTVEXP_API ZR_BASE_S : public ZR_Matrix {
public:
    ZR_BASE_S();
    ZR_BASE_S(const ZR_BASE_S& other);
    ZR_BASE_S& operator=(const ZR_BASE_S& other);  // then follows its own declared set
    ~ZR_BASE_S() override;

    void SetDim(ZR_Set& set);  // follows the set from now on
    // The element of that name, built when missing; null stands for "". Null,
    // with nothing built, for a name outside the bound set.
    ZR_Type* Find(const char* index);
    int NewElements() override;
    void CreateMissingArrayElement(const char* indexText) override;  // "\"a\")" or "a)"

protected:
    void FollowDeclaredSet(int dimension) override;

    ZR_SetValue IndexSets[1];
};
