// The index-tuple array bases: arrays of two to four indices, each an integer
// (letter I) or a text (letter S). Each turns an index tuple into a position in
// one dense element vector, row-major with the last index fastest, widens the
// vector when a new index value turns up in any dimension, and builds the
// element at that position on demand through the array's NewElement.
//
// One engine, ZR_IndexTuple<letters>, does the work; ZR_BASE_II ... ZR_BASE_SSSS
// are the named classes over it, one for every pattern of letters. None can be
// built by itself: the array wrapper supplies NewElement.
#pragma once
#include <type_traits>

#include "frame/api.h"
#include "qtvexp.h"

template <char Letter>
using ZR_IndexArg = std::conditional_t<Letter == 'S', const char*, int>;
template <char Letter>
using ZR_IndexSetRef = ZR_Set&;

template <char... Letters>
class ORVANE_TEMPLATE_API ZR_IndexTuple : public ZR_Matrix {
    static_assert(sizeof...(Letters) >= 2 && sizeof...(Letters) <= 4, "two to four indices");
    static_assert(((Letters == 'I' || Letters == 'S') && ...), "indices are I (integer) or S (text)");

public:
    static constexpr int Dims = sizeof...(Letters);

    ~ZR_IndexTuple() override;

    // Binds the declared index sets, one per dimension in order; the array hears
    // of their changes from now on and no longer of the sets bound before.
    void SetDim(ZR_IndexSetRef<Letters>... sets);
    // The element of that tuple, built when missing. A value new to its
    // dimension joins the index set whether the declared set holds it or not. A
    // null text stands for "".
    ZR_Type* Find(ZR_IndexArg<Letters>... index);
    // Builds every missing element of the index product, from the last position
    // to the first; how many were built.
    int NewElements() override;
    // Builds the element whose indices the text names: one index per dimension,
    // a comma after every index but the last and a closing bracket after the last
    // ("3,7)"). Nothing changes unless every index can be read.
    void CreateMissingArrayElement(const char* indexText) override;
    // Hands the tuple to the base as the pending index text of the next element.
    void BuildIndexString(ZR_IndexArg<Letters>... index);

protected:
    ZR_IndexTuple();
    ZR_IndexTuple(const ZR_IndexTuple& other);
    ZR_IndexTuple& operator=(const ZR_IndexTuple& other);

    ZR_SetValue IndexSets[Dims];  // the values present, per dimension

private:
    static constexpr char kLetters[Dims] = {Letters...};

    struct Index {
        int integer;
        const char* text;
    };
    static Index Of(int integer) { return {integer, nullptr}; }
    static Index Of(const char* text) { return {0, text ? text : ""}; }
    Index Member(int dimension, int position) const;
    bool Contains(int dimension, const Index& index, int& position) const;
    ZR_Type* FindTuple(const Index* index);
    void BuildIndexText(const Index* index);
};

// Every pattern of two to four letters, in the order of the letters.
#define ORVANE_INDEX_TUPLE_BASES(X)                                        \
    X(II, 'I', 'I') X(IS, 'I', 'S') X(SI, 'S', 'I') X(SS, 'S', 'S')        \
    X(III, 'I', 'I', 'I') X(IIS, 'I', 'I', 'S') X(ISI, 'I', 'S', 'I')      \
    X(ISS, 'I', 'S', 'S') X(SII, 'S', 'I', 'I') X(SIS, 'S', 'I', 'S')      \
    X(SSI, 'S', 'S', 'I') X(SSS, 'S', 'S', 'S')                            \
    X(IIII, 'I', 'I', 'I', 'I') X(IIIS, 'I', 'I', 'I', 'S')                \
    X(IISI, 'I', 'I', 'S', 'I') X(IISS, 'I', 'I', 'S', 'S')                \
    X(ISII, 'I', 'S', 'I', 'I') X(ISIS, 'I', 'S', 'I', 'S')                \
    X(ISSI, 'I', 'S', 'S', 'I') X(ISSS, 'I', 'S', 'S', 'S')                \
    X(SIII, 'S', 'I', 'I', 'I') X(SIIS, 'S', 'I', 'I', 'S')                \
    X(SISI, 'S', 'I', 'S', 'I') X(SISS, 'S', 'I', 'S', 'S')                \
    X(SSII, 'S', 'S', 'I', 'I') X(SSIS, 'S', 'S', 'I', 'S')                \
    X(SSSI, 'S', 'S', 'S', 'I') X(SSSS, 'S', 'S', 'S', 'S')

#define ORVANE_DECLARE_INDEX_TUPLE_BASE(Name, ...)                        \
    extern template class ORVANE_INSTANCE_API ZR_IndexTuple<__VA_ARGS__>;  \
    class ORVANE_API ZR_BASE_##Name : public ZR_IndexTuple<__VA_ARGS__> {  \
    public:                                                                \
        ZR_BASE_##Name();                                                  \
        ZR_BASE_##Name(const ZR_BASE_##Name& other);                       \
        ~ZR_BASE_##Name() override;                                        \
        ZR_BASE_##Name& operator=(const ZR_BASE_##Name& other);            \
    };

ORVANE_INDEX_TUPLE_BASES(ORVANE_DECLARE_INDEX_TUPLE_BASE)
#undef ORVANE_DECLARE_INDEX_TUPLE_BASE
