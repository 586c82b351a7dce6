#include "frame/index_bases.h"

#include <climits>

namespace {

long long SaturatingProduct(long long a, long long b) {
    if (b != 0 && a > LLONG_MAX / b) return LLONG_MAX;
    return a * b;
}

}  // namespace

template <char... L>
ZR_IndexTuple<L...>::ZR_IndexTuple() : ZR_Matrix(Dims, IndexSets) {
    for (int d = 0; d < Dims; ++d) IndexSets[d].ResetType(kLetters[d] == 'S' ? ZR_SET_STRING : ZR_SET_INTEGER);
}

template <char... L>
ZR_IndexTuple<L...>::ZR_IndexTuple(const ZR_IndexTuple& other) = default;
template <char... L>
ZR_IndexTuple<L...>& ZR_IndexTuple<L...>::operator=(const ZR_IndexTuple& other) {
    ZR_Matrix::operator=(other);
    for (int d = 0; d < Dims; ++d) IndexSets[d] = other.IndexSets[d];
    return *this;
}
template <char... L>
ZR_IndexTuple<L...>::~ZR_IndexTuple() = default;

template <char... L>
void ZR_IndexTuple<L...>::SetDim(ZR_IndexSetRef<L>... sets) {
    ZR_Set* const declared[Dims] = {&sets...};
    CancelDependenceOnDeclaredSets();
    for (int d = 0; d < Dims; ++d) {
        SetDeclaredSet(d, declared[d]);
        declared[d]->AddDependent(this);
    }
}

template <char... L>
typename ZR_IndexTuple<L...>::Index ZR_IndexTuple<L...>::Member(int dimension, int position) const {
    const ZR_SetValue& set = IndexSets[dimension];
    return kLetters[dimension] == 'S' ? Of(set.String(position)) : Of(set.Integer(position));
}

template <char... L>
bool ZR_IndexTuple<L...>::Contains(int dimension, const Index& index, int& position) const {
    const ZR_SetValue& set = IndexSets[dimension];
    return (kLetters[dimension] == 'S' ? set.SetContains(index.text, position)
                                       : set.SetContains(index.integer, position)) != 0;
}

template <char... L>
ZR_Type* ZR_IndexTuple<L...>::Find(ZR_IndexArg<L>... index) {
    const Index tuple[Dims] = {Of(index)...};
    return FindTuple(tuple);
}

template <char... L>
ZR_Type* ZR_IndexTuple<L...>::FindTuple(const Index* index) {
    const int slots = ElementVector.Elements();
    // Every index is looked up before anything changes, so that a tuple whose
    // product the host cannot hold leaves the array as it was. The position of a
    // value in its own dimension does not depend on the other dimensions.
    int pos[Dims];
    int size[Dims];
    bool present[Dims];
    long long before = 1;
    long long after = 1;
    for (int d = 0; d < Dims; ++d) {
        present[d] = Contains(d, index[d], pos[d]);
        size[d] = IndexSets[d].SetSize();
        before = SaturatingProduct(before, size[d]);
        after = SaturatingProduct(after, size[d] + (present[d] ? 0 : 1));
    }
    if (slots != 0 && slots != before) return nullptr;  // no layout to keep the elements in
    if ((slots == 0 || after != before) && !ElementVector.Reserve(after)) return nullptr;

    // From the last dimension to the first, each widening with the stride of the
    // dimensions after it, sizes taken after their insertions.
    int stride = 1;
    for (int d = Dims - 1; d >= 0; --d) {
        ZR_SetValue& set = IndexSets[d];
        if (!present[d]) {
            if (kLetters[d] == 'S') {
                set.SetAddAtOffset(index[d].text, pos[d]);
            } else {
                set.SetAddAtOffset(index[d].integer, pos[d]);
            }
            size[d] = set.SetSize();
            if (slots != 0) ElementVector.AddNullEntries(pos[d], size[d] - 1, stride);
        }
        CurrentPosition = d == Dims - 1 ? pos[d] : CurrentPosition + pos[d] * stride;
        stride *= size[d];
    }
    if (slots == 0) ElementVector.AddNullEntries(0, 0, stride);

    ZR_Type* element = ElementVector[CurrentPosition];
    if (element == nullptr) {
        BuildIndexText(index);
        element = AddElement();
    }
    return element;
}

template <char... L>
int ZR_IndexTuple<L...>::NewElements() {
    long long product = 1;
    for (int d = 0; d < Dims; ++d) product = SaturatingProduct(product, IndexSets[d].SetSize());
    if (product == 0) return 0;
    // An empty vector beside filled index sets (a host may copy arrays so) is
    // filled first: the walk below expects the whole product.
    if (ElementVector.Elements() == 0) {
        if (!ElementVector.Reserve(product)) return 0;
        ElementVector.AddNullEntries(0, 0, static_cast<int>(product));
    }
    if (ElementVector.Elements() != product) return 0;

    int pos[Dims];
    for (int d = 0; d < Dims; ++d) pos[d] = IndexSets[d].SetSize() - 1;
    int count = 0;
    CurrentPosition = ElementVector.Elements();
    for (;;) {
        --CurrentPosition;
        if (ElementVector[CurrentPosition] == nullptr) {
            Index index[Dims];
            for (int d = 0; d < Dims; ++d) index[d] = Member(d, pos[d]);
            BuildIndexText(index);
            if (AddElement() != nullptr) ++count;
        }
        // The next tuple down, the last index fastest.
        int d = Dims - 1;
        while (d >= 0 && pos[d] == 0) {
            pos[d] = IndexSets[d].SetSize() - 1;
            --d;
        }
        if (d < 0) return count;
        --pos[d];
    }
}

template <char... L>
void ZR_IndexTuple<L...>::CreateMissingArrayElement(const char* indexText) {
    const char* cursor = indexText;
    Index index[Dims];
    int integers[Dims];
    char texts[Dims][128];
    for (int d = 0; d < Dims; ++d) {
        const char terminator = d == Dims - 1 ? ')' : ',';
        if (kLetters[d] == 'S') {
            if (!ReadIndex(cursor, texts[d], terminator)) return;
            index[d] = Of(texts[d]);
        } else {
            if (!ReadIndex(cursor, integers[d], terminator)) return;
            index[d] = Of(integers[d]);
        }
    }
    FindTuple(index);
}

template <char... L>
void ZR_IndexTuple<L...>::BuildIndexString(ZR_IndexArg<L>... index) {
    const Index tuple[Dims] = {Of(index)...};
    BuildIndexText(tuple);
}

template <char... L>
void ZR_IndexTuple<L...>::BuildIndexText(const Index* index) {
    for (int d = 0; d < Dims; ++d) {
        if (kLetters[d] == 'S') {
            AddIndexToString(index[d].text, d);
        } else {
            AddIndexToString(index[d].integer, d);
        }
    }
}

#define ORVANE_DEFINE_INDEX_TUPLE_BASE(Name, ...)                                           \
    template class ZR_IndexTuple<__VA_ARGS__>; /* exported as declared in the header */            \
    ZR_BASE_##Name::ZR_BASE_##Name() = default;                                             \
    ZR_BASE_##Name::ZR_BASE_##Name(const ZR_BASE_##Name& other) = default;                  \
    ZR_BASE_##Name::~ZR_BASE_##Name() = default;                                            \
    ZR_BASE_##Name& ZR_BASE_##Name::operator=(const ZR_BASE_##Name& other) = default;

ORVANE_INDEX_TUPLE_BASES(ORVANE_DEFINE_INDEX_TUPLE_BASE)
