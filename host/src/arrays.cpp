#include "qtvexp/arrays.h"
#include "trace_hook.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>

#include "handback.h"
#include "qtvexp/recorder.h"

using qtvhost::GiveBack;
using qtvhost::Host;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

const char* SkipBlanks(const char* p) {
    while (IsBlank(*p)) ++p;
    return p;
}

}  // namespace

// --- ZR_LongPtrVectorOwnsData ------------------------------------------------

ZR_LongPtrVectorOwnsData::ZR_LongPtrVectorOwnsData() = default;

ZR_LongPtrVectorOwnsData::~ZR_LongPtrVectorOwnsData() { Reset(0); }

int ZR_LongPtrVectorOwnsData::Elements() const {
    QTV_TRACED_CALL(Elements(), qtvhost::HostCall::Slots, this);
    return static_cast<int>(m_slots.size());
}

ZR_Type* ZR_LongPtrVectorOwnsData::operator[](int position) const {
    QTV_TRACED_CALL(operator[](position), qtvhost::HostCall::Slot, this, position);
    if (position < 0 || position >= Elements()) return nullptr;
    return m_slots[static_cast<std::size_t>(position)];
}

bool ZR_LongPtrVectorOwnsData::Reserve(long long slots) {
    const long long limit = std::min<long long>(Host::Get().config.maxArraySlots, INT_MAX);
    if (slots < 0 || slots > limit) {
        Host::Get().Error("an array of " + std::to_string(slots) + " element slots is larger than the host can hold");
        return false;
    }
    try {
        // Arrays grow one element at a time as their elements are asked for:
        // room is made geometrically so that growing stays linear.
        if (static_cast<std::size_t>(slots) > m_slots.capacity()) {
            const long long grown = std::max(slots, 2 * static_cast<long long>(m_slots.capacity()));
            m_slots.reserve(static_cast<std::size_t>(std::min(limit, grown)));
        }
    } catch (const std::bad_alloc&) {
        Host::Get().Error("no memory for an array of " + std::to_string(slots) + " element slots");
        return false;
    }
    return true;
}

void ZR_LongPtrVectorOwnsData::AddNullEntries(int position, int countBefore, int stride) {
    const long long size = Elements();
    const long long block = static_cast<long long>(countBefore) * stride;  // slots per outer index now
    auto refuse = [&](const char* why) {
        Host::Get().Error(std::string("AddNullEntries(") + std::to_string(position) + ", " +
                          std::to_string(countBefore) + ", " + std::to_string(stride) + ") on " +
                          std::to_string(size) + " slots: " + why);
    };
    if (stride < 0 || countBefore < 0 || position < 0 || position > countBefore) {
        refuse("arguments out of range");
        return;
    }
    if (block == 0) {
        if (size != 0) {
            refuse("the vector has slots, so the dimension cannot have been empty");
            return;
        }
        if (Reserve(stride)) m_slots.assign(static_cast<std::size_t>(stride), nullptr);
        return;
    }
    if (size % block != 0) {
        refuse("the vector is not a whole number of blocks");
        return;
    }
    const long long outer = size / block;
    const long long grown = outer * (block + stride);
    if (!Reserve(grown)) return;
    m_slots.resize(static_cast<std::size_t>(grown), nullptr);
    // From the last block to the first, so that no block is overwritten before it
    // has moved: every block moves towards the end.
    const long long cut = static_cast<long long>(position) * stride;
    for (long long o = outer - 1; o >= 0; --o) {
        auto src = m_slots.begin() + o * block;
        auto dst = m_slots.begin() + o * (block + stride);
        std::move_backward(src + cut, src + block, dst + block + stride);
        if (o > 0) std::move_backward(src, src + cut, dst + cut);  // the first block's head stays
        std::fill(dst + cut, dst + cut + stride, nullptr);
    }
}

void ZR_LongPtrVectorOwnsData::Place(int position, ZR_Type* element) {
    element->AddRef();
    m_slots[static_cast<std::size_t>(position)] = element;
}

void ZR_LongPtrVectorOwnsData::Remove(int position) {
    if (position < 0 || position >= Elements()) return;
    ZR_Type* element = m_slots[static_cast<std::size_t>(position)];
    m_slots.erase(m_slots.begin() + position);
    GiveBack(element);
}

void ZR_LongPtrVectorOwnsData::Reset(int slots) {
    // Emptied before the elements go, so that nothing can reach a slot whose
    // element is being destroyed.
    std::vector<ZR_Type*> old;
    old.swap(m_slots);
    for (auto it = old.rbegin(); it != old.rend(); ++it) GiveBack(*it);
    if (slots > 0 && Reserve(slots)) m_slots.assign(static_cast<std::size_t>(slots), nullptr);
}

// --- ZR_Matrix ---------------------------------------------------------------

ZR_Matrix::ZR_Matrix(int dimensions, ZR_SetValue* firstIndexSet)
    : CurrentPosition(0), m_dimensions(dimensions), m_indexSetsOffset(0), m_unheld(nullptr) {
    if (firstIndexSet == nullptr || dimensions < 1) {
        Host::Get().Error("an array needs at least one index set");
        m_dimensions = 0;
    } else {
        m_indexSetsOffset = static_cast<std::ptrdiff_t>(reinterpret_cast<std::uintptr_t>(firstIndexSet) -
                                                        reinterpret_cast<std::uintptr_t>(this));
    }
    m_declared.assign(static_cast<std::size_t>(m_dimensions), nullptr);
}

ZR_Matrix::ZR_Matrix(const ZR_Matrix& other)
    : ZR_Type(other), CurrentPosition(0), m_dimensions(other.m_dimensions),
      m_indexSetsOffset(other.m_indexSetsOffset), m_declared(static_cast<std::size_t>(other.m_dimensions), nullptr),
      m_unheld(nullptr) {
    ElementVector.Reset(other.SlotCount());
}

ZR_Matrix& ZR_Matrix::operator=(const ZR_Matrix& other) {
    if (&other == this) return *this;
    ZR_Type::operator=(other);
    ElementVector.Reset(other.SlotCount());
    CurrentPosition = 0;
    m_pending.clear();
    return *this;
}

ZR_Matrix::~ZR_Matrix() {
    CancelDependenceOnDeclaredSets();
    GiveBack(m_unheld);
}

const char* ZR_Matrix::ZR_ContainerId() { return "Matrix"; }
const char* ZR_Matrix::ZR_KindName() const { return "array"; }
int ZR_Matrix::Dimensions() const { return m_dimensions; }

const ZR_SetValue& ZR_Matrix::IndexSet(int dimension) const {
    static const ZR_SetValue none;
    if (dimension < 0 || dimension >= m_dimensions) return none;
    const auto* first = reinterpret_cast<const ZR_SetValue*>(reinterpret_cast<std::uintptr_t>(this) +
                                                             static_cast<std::uintptr_t>(m_indexSetsOffset));
    return first[dimension];
}

ZR_Set* ZR_Matrix::DeclaredSet(int dimension) const {
    return dimension >= 0 && dimension < m_dimensions ? m_declared[static_cast<std::size_t>(dimension)] : nullptr;
}

int ZR_Matrix::SlotCount() const { return ElementVector.Elements(); }
ZR_Type* ZR_Matrix::Slot(int position) const { return ElementVector[position]; }

ZR_Type* ZR_Matrix::AddElement() {
    std::string text;
    text.swap(m_pending);
    ZR_Type* element = NewElement();
    if (element == nullptr) {
        Host::Get().Error(FullName() + "(" + text + "): no element could be built");
        return nullptr;
    }
    if (CurrentPosition < 0 || CurrentPosition >= SlotCount() || ElementVector[CurrentPosition] != nullptr) {
        Host::Get().Error(FullName() + "(" + text + "): slot " + std::to_string(CurrentPosition) +
                          " is not an empty slot of the array");
        element->AddRef();
        GiveBack(element);
        return nullptr;
    }
    element->SetElementOf(this, text);
    element->SetDirection(Direction());
    if (!IsToBeExported()) element->UnsetIsToBeExported();
    element->HostPortType(GetHostPortType());
    ElementVector.Place(CurrentPosition, element);
    return element;
}

ZR_Type* ZR_Matrix::Unheld(const std::string& indexText) {
    Host::Get().Error(FullName() + "(" + indexText +
                      "): the array cannot hold this element; one that no index names stands in for it");
    if (m_unheld == nullptr) {
        m_unheld = NewElement();
        if (m_unheld == nullptr) return nullptr;
        m_unheld->AddRef();
        m_unheld->SetElementOf(this, "*");
    }
    return m_unheld;
}

std::string ZR_Matrix::WhyNotHeld(const ZR_Type& element) const {
    if (element.ElementOf() != this) return "it is not an element of " + FullName();
    // The index text closed as CreateMissingArrayElement reads it: "3)", "1,\"b\")".
    const std::string closed = element.IndexText() + ")";
    const char* cursor = closed.c_str();
    long long position = 0;
    for (int d = 0; d < m_dimensions; ++d) {
        const char terminator = d + 1 < m_dimensions ? ',' : ')';
        const ZR_SetValue& present = IndexSet(d);
        const ZR_Set* declared = DeclaredSet(d);
        int at = 0;
        bool held = false;
        bool inside = true;
        if (present.Type() == ZR_SET_STRING) {
            char text[128];
            held = ReadIndex(cursor, text, terminator) && present.SetContains(text, at);
            inside = !held || declared == nullptr || (declared->fv() >= text);
        } else {
            int number = 0;
            held = ReadIndex(cursor, number, terminator) && present.SetContains(number, at);
            inside = !held || declared == nullptr || (declared->fv() >= number);
        }
        if (!held) return FullName() + " does not hold it";
        if (!inside) return "it lies outside " + declared->FullName() + " " + declared->fv().ToText();
        position = position * present.SetSize() + at;
    }
    if (position >= SlotCount() || Slot(static_cast<int>(position)) != &element)
        return FullName() + " does not hold it";
    return "";
}

void ZR_Matrix::RemoveSlot(int position) { ElementVector.Remove(position); }

int ZR_Matrix::PortCount(bool flag) const {
    int count = 0;
    for (int p = 0; p < SlotCount(); ++p)
        if (const auto* port = dynamic_cast<const ZR_PortType*>(ElementVector[p])) count += port->PortCount(flag);
    return count;
}

ZR_Type* ZR_Matrix::GetPort(int& index, bool flag) {
    for (int p = 0; p < SlotCount(); ++p) {
        auto* port = dynamic_cast<ZR_PortType*>(ElementVector[p]);
        if (port == nullptr) continue;
        if (ZR_Type* found = port->GetPort(index, flag)) return found;
    }
    return nullptr;
}

void ZR_Matrix::AddIndexToString(int index, int dimension) {
    if (dimension == 0) m_pending.clear(); else m_pending += ',';
    m_pending += std::to_string(index);
}

void ZR_Matrix::AddIndexToString(const char* index, int dimension) {
    if (dimension == 0) m_pending.clear(); else m_pending += ',';
    m_pending += '"';
    for (const char* p = index ? index : ""; *p; ++p) {
        if (*p == '"') m_pending += '"';
        m_pending += *p;
    }
    m_pending += '"';
}

bool ZR_Matrix::ReadIndex(const char*& cursor, int& index, char terminator) {
    if (cursor == nullptr) return false;
    const char* p = SkipBlanks(cursor);
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (*p < '0' || *p > '9') return false;
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) value = -value;
    if (value > INT_MAX || value < INT_MIN) return false;
    p = SkipBlanks(p);
    if (*p != terminator || terminator == '\0') return false;
    index = static_cast<int>(value);
    cursor = p + 1;
    return true;
}

bool ZR_Matrix::ReadIndex(const char*& cursor, char (&index)[128], char terminator) {
    if (cursor == nullptr || terminator == '\0') return false;
    std::string text;
    const char* p = SkipBlanks(cursor);
    if (*p == '"') {
        for (++p;; ++p) {
            if (*p == '\0') return false;
            if (*p == '"') {
                if (p[1] != '"') break;
                ++p;
            }
            text += *p;
        }
        p = SkipBlanks(p + 1);
        if (*p != terminator) return false;
    } else {
        const char* end = std::strchr(p, terminator);
        if (end == nullptr) return false;
        const char* last = end;
        while (last > p && IsBlank(last[-1])) --last;
        if (last == p) return false;  // an empty text is written ""
        text.assign(p, last);
        p = end;
    }
    if (text.size() >= sizeof index) return false;
    std::memcpy(index, text.c_str(), text.size() + 1);
    cursor = p + 1;
    return true;
}

void ZR_Matrix::CancelDependenceOnDeclaredSets() {
    for (ZR_Set*& set : m_declared) {
        if (set) set->RemoveDependent(this);
        set = nullptr;
    }
}

void ZR_Matrix::SetDeclaredSet(int dimension, ZR_Set* set) {
    if (dimension < 0 || dimension >= m_dimensions) {
        Host::Get().Error(FullName() + ": no dimension " + std::to_string(dimension) + " to bind");
        return;
    }
    m_declared[static_cast<std::size_t>(dimension)] = set;
}

void ZR_Matrix::ForgetDeclaredSet(const ZR_VarParamProp* set) {
    for (ZR_Set*& s : m_declared)
        if (s != nullptr && static_cast<const ZR_VarParamProp*>(s) == set) s = nullptr;
}

void ZR_Matrix::DeclaredSetChanged(const ZR_VarParamProp* set) {
    for (int d = 0; d < m_dimensions; ++d)
        if (static_cast<const ZR_VarParamProp*>(DeclaredSet(d)) == set && set != nullptr) FollowDeclaredSet(d);
}

void ZR_Matrix::FollowDeclaredSet(int) {}

// --- the one-index forms -------------------------------------------------------

// Find, NewElements and CreateMissingArrayElement of an array with one index, of
// either kind.
struct ZR_Matrix::OneIndex {
    static ZR_Type* Mismatch(const ZR_Matrix& array) {
        Host::Get().Error(array.FullName() + ": the element vector does not match the index set");
        return nullptr;
    }

    static void Bind(ZR_Matrix& array, ZR_Set& set) {
        array.CancelDependenceOnDeclaredSets();
        array.SetDeclaredSet(0, &set);
        set.AddDependent(&array);
    }

    template <class Key>
    static ZR_Type* Find(ZR_Matrix& array, ZR_SetValue& set, Key key) {
        const int slots = array.SlotCount();
        if (slots != 0 && slots != set.SetSize()) return Mismatch(array);
        int pos = 0;
        if (!set.SetContains(key, pos)) {
            if (!array.ElementVector.Reserve(static_cast<long long>(set.SetSize()) + 1)) return nullptr;
            set.SetAddAtOffset(key, pos);
            if (slots != 0) array.ElementVector.AddNullEntries(pos, set.SetSize() - 1, 1);
        }
        array.CurrentPosition = pos;
        if (slots == 0) {
            if (!array.ElementVector.Reserve(set.SetSize())) return nullptr;
            array.ElementVector.AddNullEntries(0, 0, set.SetSize());
        }
        ZR_Type* element = array.ElementVector[pos];
        if (element == nullptr) {
            array.AddIndexToString(key, 0);
            element = array.AddElement();
        }
        return element;
    }

    // Find's way when the element is not simply there: it is built, or the
    // stand-in is given. Out of line and cold, so that the look-up of an element
    // that is there stays a leaf without a frame.
    [[gnu::noinline, gnu::cold]] static ZR_Type* FindOrStandIn(ZR_Matrix& array, ZR_SetValue& set, int key) {
        ZR_Type* element = Find(array, set, key);
        return element ? element : array.Unheld(std::to_string(key));
    }

    static int NewElements(ZR_Matrix& array, const ZR_SetValue& set, bool text) {
        if (array.SlotCount() == 0 && set.SetSize() > 0 && array.ElementVector.Reserve(set.SetSize()))
            array.ElementVector.AddNullEntries(0, 0, set.SetSize());
        if (array.SlotCount() != set.SetSize()) {
            Mismatch(array);
            return 0;
        }
        int count = 0;
        array.CurrentPosition = array.SlotCount();
        for (int p = set.SetSize() - 1; p >= 0; --p) {
            --array.CurrentPosition;
            if (array.ElementVector[array.CurrentPosition] != nullptr) continue;
            if (text) {
                array.AddIndexToString(set.String(p), 0);
            } else {
                array.AddIndexToString(set.Integer(p), 0);
            }
            if (array.AddElement()) ++count;
        }
        return count;
    }
};

ZR_BASE_I::ZR_BASE_I() : ZR_Matrix(1, IndexSets) { IndexSets[0].ResetType(ZR_SET_INTEGER); }
ZR_BASE_I::ZR_BASE_I(const ZR_BASE_I& other) = default;
ZR_BASE_I& ZR_BASE_I::operator=(const ZR_BASE_I& other) = default;
ZR_BASE_I::~ZR_BASE_I() = default;

void ZR_BASE_I::SetDim(ZR_Set& set) { OneIndex::Bind(*this, set); }

ZR_Type* ZR_BASE_I::Find(int index) {
    QTV_TRACED_CALL(ZR_BASE_I::Find(index), qtvhost::HostCall::Find, this, index);
    // Mostly the element is there already, among indices that run without gaps:
    // then its place is its distance from the first index, found in a few steps
    // on any size of array and without reading the indices in between.
    // With gaps (the collocation points of a grid), a walk asks for the element
    // after the one it asked for last, or for that one again.
    const ZR_IntStore& present = IndexSets[0].m_ints;
    const int slots = ElementVector.Elements();
    if (!present.empty() && present.size() == static_cast<std::size_t>(slots)) {
        long long pos = static_cast<long long>(index) - present.front();
        if (static_cast<long long>(present.back()) - present.front() != slots - 1LL) {
            pos = CurrentPosition + 1LL;
            if (pos < 0 || pos >= slots || present[static_cast<std::size_t>(pos)] != index) pos = CurrentPosition;
            if (pos < 0 || pos >= slots || present[static_cast<std::size_t>(pos)] != index) pos = -1;
        }
        if (pos >= 0 && pos < slots) {
            if (ZR_Type* element = ElementVector[static_cast<int>(pos)]) {
                CurrentPosition = static_cast<int>(pos);
                return element;
            }
        }
    }
    return OneIndex::FindOrStandIn(*this, IndexSets[0], index);
}
int ZR_BASE_I::NewElements() { return OneIndex::NewElements(*this, IndexSets[0], false); }

void ZR_BASE_I::CreateMissingArrayElement(const char* indexText) {
    int index = 0;
    if (ReadIndex(indexText, index, ')')) Find(index);
}

ZR_BASE_S::ZR_BASE_S() : ZR_Matrix(1, IndexSets) { IndexSets[0].ResetType(ZR_SET_STRING); }
ZR_BASE_S::ZR_BASE_S(const ZR_BASE_S& other) = default;
ZR_BASE_S& ZR_BASE_S::operator=(const ZR_BASE_S& other) {
    if (&other == this) return *this;
    ZR_Matrix::operator=(other);
    IndexSets[0] = other.IndexSets[0];
    FollowDeclaredSet(0);
    return *this;
}
ZR_BASE_S::~ZR_BASE_S() = default;

void ZR_BASE_S::SetDim(ZR_Set& set) {
    OneIndex::Bind(*this, set);
    FollowDeclaredSet(0);
}

ZR_Type* ZR_BASE_S::Find(const char* index) {
    const char* name = index ? index : "";
    const ZR_Set* bound = DeclaredSet(0);
    if (bound != nullptr && !(bound->fv() >= name)) return nullptr;
    return OneIndex::Find(*this, IndexSets[0], name);
}

void ZR_BASE_S::FollowDeclaredSet(int) {
    const ZR_Set* bound = DeclaredSet(0);
    if (bound == nullptr) return;
    // A copy: building an element runs the model library's code.
    const ZR_SetValue names(bound->fv());
    ZR_SetValue& present = IndexSets[0];
    if (SlotCount() != 0) {
        if (SlotCount() != present.SetSize()) {
            OneIndex::Mismatch(*this);
            return;
        }
        // From the last, so that the slots before keep their places.
        for (int p = present.SetSize() - 1; p >= 0; --p)
            if (!(names >= present.String(p))) RemoveSlot(p);
    }
    present *= names;
    for (int p = 0; p < names.SetSize(); ++p) Find(names.String(p));
}

int ZR_BASE_S::NewElements() { return OneIndex::NewElements(*this, IndexSets[0], true); }

void ZR_BASE_S::CreateMissingArrayElement(const char* indexText) {
    char index[128];
    if (ReadIndex(indexText, index, ')')) Find(index);
}
