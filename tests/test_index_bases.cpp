// Arrays of one to four indices (the host's one-index forms and the library's
// index-tuple bases) against a simple model: a map from index tuple to element
// beside one sorted set of values per dimension.
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "frame/wrappers.h"
#include "linked_fixture.h"

namespace {

struct Key {
    int i = 0;
    std::string s;
    bool operator<(const Key& o) const { return i != o.i ? i < o.i : s < o.s; }
    bool operator==(const Key& o) const { return i == o.i && s == o.s; }
};
using Tuple = std::vector<Key>;

// An index as the arrays write it into an element's index text and read it back.
std::string Written(char letter, const Key& k) {
    if (letter == 'I') return std::to_string(k.i);
    std::string out = "\"";
    for (char c : k.s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string Joined(const std::string& letters, const Tuple& t, std::size_t count, const char* separator) {
    std::string out;
    for (std::size_t d = 0; d < count; ++d) out += (d ? separator : "") + Written(letters[d], t[d]);
    return out;
}

template <class Base>
class Probe : public Base {
public:
    ZR_Type* NewElement() override {
        built.push_back(this->CurrentPosition);
        return new ZR_REALVARIABLE(true);
    }
    std::vector<int> built;  // the position of every element built, in order
};

// Drives one array through random steps and checks it against the model after
// every step.
template <class Array, char... L>
class Oracle {
public:
    static constexpr std::size_t N = sizeof...(L);

    explicit Oracle(unsigned seed) : m_array(std::make_unique<Array>()), m_sets(N), m_rng(seed) {}

    void Run(int steps) {
        for (int step = 0; step < steps && !::testing::Test::HasFailure(); ++step) {
            const int op = Pick(100);
            if (op < 50) {
                FindStep();
            } else if (op < 65) {
                CreateStep();
            } else if (op < 85) {
                FailedReadStep();
            } else if (op < 90) {
                NewElementsStep();
            } else if (op < 95) {
                CopyStep();
            } else {
                AssignStep();
            }
            Verify(step);
        }
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    long long Product() const {
        long long p = 1;
        for (const auto& s : m_sets) p *= static_cast<long long>(s.size());
        return p;
    }

    // A value inside, between or outside the values present, or a fresh one;
    // only values present once the array is large.
    Key NewKey(std::size_t d) {
        const std::set<Key>& present = m_sets[d];
        const bool full = Product() > 240;
        if (!present.empty() && (full || Pick(3) == 0)) {
            auto it = present.begin();
            std::advance(it, Pick(static_cast<int>(present.size())));
            return *it;
        }
        Key k;
        if (kLetters[d] == 'I') {
            const int lo = present.empty() ? 0 : present.begin()->i;
            const int hi = present.empty() ? 0 : present.rbegin()->i;
            switch (Pick(3)) {
            case 0: k.i = lo - 1 - Pick(3); break;
            case 1: k.i = hi + 1 + Pick(3); break;
            default: k.i = lo + Pick(hi - lo + 1); break;
            }
        } else {
            static const char kAlphabet[] = "abc, )\"";  // plain letters first
            const int length = Pick(4);
            for (int c = 0; c < length; ++c) k.s += kAlphabet[Pick(Pick(5) == 0 ? 7 : 3)];
        }
        return k;
    }

    Tuple NewTuple() {
        Tuple t;
        for (std::size_t d = 0; d < N; ++d) t.push_back(NewKey(d));
        return t;
    }

    template <char Letter>
    static ZR_IndexArg<Letter> Arg(const Key& k) {
        if constexpr (Letter == 'I') {
            return k.i;
        } else {
            return k.s.c_str();
        }
    }

    template <std::size_t... D>
    static ZR_Type* Find(Array& array, const Tuple& t, std::index_sequence<D...>) {
        return array.Find(Arg<L>(t[D])...);
    }
    static ZR_Type* Find(Array& array, const Tuple& t) { return Find(array, t, std::make_index_sequence<N>()); }

    // Every value of a tuple the array reached is in its index sets.
    void Reach(const Tuple& t) {
        for (std::size_t d = 0; d < N; ++d) m_sets[d].insert(t[d]);
    }

    void FindStep() {
        const Tuple t = NewTuple();
        const ZR_Type* before = m_elements.count(t) ? m_elements[t] : nullptr;
        ZR_Type* found = Find(*m_array, t);
        ASSERT_NE(found, nullptr);
        if (before) {
            EXPECT_EQ(found, before) << "the same tuple yields the same element";
        }
        Reach(t);
        m_elements[t] = found;
    }

    void CreateStep() {
        const Tuple t = NewTuple();
        const std::string text = Joined(kLetters, t, N, ",") + ")";
        m_array->CreateMissingArrayElement(text.c_str());
        Reach(t);
        const ZR_Type* at = SlotOf(t);
        ASSERT_NE(at, nullptr) << text;
        if (m_elements[t]) {
            EXPECT_EQ(at, m_elements[t]) << "an existing element stays";
        }
        m_elements[t] = at;
    }

    // Texts that cannot be read in full: nothing may change, although the
    // indices before the fault were read.
    void FailedReadStep() {
        const Tuple t = NewTuple();
        std::vector<std::string> texts = {
            Joined(kLetters, t, N, ","),            // no closing bracket
            Joined(kLetters, t, N - 1, ",") + ")",  // an index short
            "",
        };
        if (N > 1) texts.push_back(Joined(kLetters, t, N, ";") + ")");  // the wrong separator
        for (std::size_t d = 0; d < N; ++d) {
            Tuple bad = t;
            std::string pieces;
            for (std::size_t e = 0; e < N; ++e) {
                std::string w = Written(kLetters[e], bad[e]);
                if (e == d) w = kLetters[d] == 'I' ? (Pick(2) ? "x" : "99999999999") : std::string(128, 'q');
                pieces += (e ? "," : "") + w;
            }
            texts.push_back(pieces + ")");
            if (kLetters[d] == 'S') texts.push_back(Joined(kLetters, t, d, ",") + (d ? "," : "") + "\"open)");
        }
        const std::vector<const ZR_Type*> slots = Slots();
        const auto sets = SetsOfArray();
        for (const std::string& text : texts) {
            m_array->CreateMissingArrayElement(text.c_str());
            ASSERT_EQ(Slots(), slots) << text;
            ASSERT_EQ(SetsOfArray(), sets) << text;
        }
        m_array->CreateMissingArrayElement(nullptr);
        ASSERT_EQ(Slots(), slots);
    }

    void NewElementsStep() {
        long long missing = Product();
        for (const auto& [t, e] : m_elements) missing -= e != nullptr;
        EXPECT_EQ(m_array->NewElements(), missing);
        ForEachTuple([&](const Tuple& t, int position) {
            const ZR_Type* e = m_array->Slot(position);
            ASSERT_NE(e, nullptr);
            const ZR_Type*& known = m_elements[t];
            if (known) {
                EXPECT_EQ(e, known) << "existing elements are left alone";
            }
            known = e;
        });
        EXPECT_EQ(m_array->NewElements(), 0);
    }

    // A copy has its own index sets, equal to the source's, and as many slots,
    // all empty; it outlives the source.
    void CopyStep() {
        auto copy = std::make_unique<Array>(*m_array);
        m_array = std::move(copy);
        m_elements.clear();
    }

    // Assignment replaces the elements of an array that has some of its own.
    void AssignStep() {
        auto other = std::make_unique<Array>();
        Find(*other, NewTuple());
        *other = *m_array;
        m_array = std::move(other);
        m_elements.clear();
    }

    template <class F>
    void ForEachTuple(F f) {
        if (Product() == 0) return;
        std::vector<std::set<Key>::const_iterator> it;
        for (const auto& s : m_sets) it.push_back(s.begin());
        for (int position = 0;; ++position) {
            Tuple t;
            for (const auto& i : it) t.push_back(*i);
            f(t, position);
            std::size_t d = N;
            while (d > 0 && ++it[d - 1] == m_sets[d - 1].end()) {
                it[d - 1] = m_sets[d - 1].begin();
                --d;
            }
            if (d == 0) return;
        }
    }

    const ZR_Type* SlotOf(const Tuple& t) {
        long long position = 0;
        for (std::size_t d = 0; d < N; ++d)
            position = position * static_cast<long long>(m_sets[d].size()) +
                       std::distance(m_sets[d].begin(), m_sets[d].find(t[d]));
        return m_array->Slot(static_cast<int>(position));
    }

    std::vector<const ZR_Type*> Slots() const {
        std::vector<const ZR_Type*> out;
        for (int p = 0; p < m_array->SlotCount(); ++p) out.push_back(m_array->Slot(p));
        return out;
    }

    std::vector<std::vector<std::string>> SetsOfArray() const {
        std::vector<std::vector<std::string>> out;
        for (int d = 0; d < m_array->Dimensions(); ++d) {
            const ZR_SetValue& s = m_array->IndexSet(d);
            out.emplace_back();
            for (int p = 0; p < s.SetSize(); ++p)
                out.back().push_back(kLetters[d] == 'I' ? std::to_string(s.Integer(p)) : s.String(p));
        }
        return out;
    }

    void Verify(int step) {
        SCOPED_TRACE("step " + std::to_string(step));
        ASSERT_EQ(m_array->Dimensions(), static_cast<int>(N));
        std::vector<std::vector<std::string>> expected;
        for (std::size_t d = 0; d < N; ++d) {
            expected.emplace_back();
            for (const Key& k : m_sets[d]) expected.back().push_back(kLetters[d] == 'I' ? std::to_string(k.i) : k.s);
        }
        ASSERT_EQ(SetsOfArray(), expected);
        ASSERT_EQ(m_array->SlotCount(), Product()) << "slots = product of the index-set sizes";
        ForEachTuple([&](const Tuple& t, int position) {
            const ZR_Type* e = m_array->Slot(position);
            auto known = m_elements.find(t);
            ASSERT_EQ(e, known == m_elements.end() ? nullptr : known->second) << "position " << position;
            if (e == nullptr) return;
            EXPECT_EQ(e->ElementOf(), m_array.get());
            EXPECT_EQ(e->IndexText(), Joined(kLetters, t, N, ",")) << "each element sits where its indices say";
        });
    }

    static constexpr char kLettersArray[] = {L..., '\0'};
    const std::string kLetters = kLettersArray;
    std::unique_ptr<Array> m_array;
    std::vector<std::set<Key>> m_sets;
    std::map<Tuple, const ZR_Type*> m_elements;
    std::mt19937 m_rng;
};

class IndexTuples : public LinkedTest {
protected:
    template <class Array, char... L>
    void RunOracle() {
        const auto before = host.Heap();
        for (unsigned seed : {1u, 2u, 3u}) {
            SCOPED_TRACE("seed " + std::to_string(seed));
            Oracle<Array, L...>(seed).Run(800);
        }
        EXPECT_EQ(host.Heap().liveBlocks, before.liveBlocks) << "every element went with its array";
        EXPECT_EQ(host.Heap().liveBytes, before.liveBytes);
    }
};

using RealArrayI = ZR_ARRAY_I<ZR_REALVARIABLE, ZR_REALVARIABLE>;
using RealArrayII = ZR_ARRAY_II<ZR_REALVARIABLE, ZR_REALVARIABLE>;
using RealArrayIII = ZR_ARRAY_III<ZR_REALVARIABLE, ZR_REALVARIABLE>;

}  // namespace

TEST_F(IndexTuples, OneIntegerIndexFollowsTheModel) { RunOracle<RealArrayI, 'I'>(); }
TEST_F(IndexTuples, OneTextIndexFollowsTheModel) { RunOracle<ZR_ARRAY_S<ZR_REALVARIABLE, ZR_REALVARIABLE>, 'S'>(); }
TEST_F(IndexTuples, PatternIIFollowsTheModel) { RunOracle<RealArrayII, 'I', 'I'>(); }
TEST_F(IndexTuples, PatternIIIFollowsTheModel) { RunOracle<RealArrayIII, 'I', 'I', 'I'>(); }
TEST_F(IndexTuples, PatternISFollowsTheModel) { RunOracle<Probe<ZR_BASE_IS>, 'I', 'S'>(); }
TEST_F(IndexTuples, PatternSIFollowsTheModel) { RunOracle<Probe<ZR_BASE_SI>, 'S', 'I'>(); }
TEST_F(IndexTuples, PatternSSIFollowsTheModel) { RunOracle<Probe<ZR_BASE_SSI>, 'S', 'S', 'I'>(); }
TEST_F(IndexTuples, PatternIIIIFollowsTheModel) { RunOracle<Probe<ZR_BASE_IIII>, 'I', 'I', 'I', 'I'>(); }

TEST_F(IndexTuples, NewElementsBuildsFromTheLastPositionDown) {
    Probe<ZR_BASE_II> a;
    a.Find(1, 10);
    a.Find(2, 30);
    a.Find(2, 20);  // 2 x 3 now, three present
    a.built.clear();
    EXPECT_EQ(a.NewElements(), 3);
    EXPECT_EQ(a.built, (std::vector<int>{3, 2, 1}));  // what they hold the model checks
}

// What the model's texts never hold: blanks, an index too many, unquoted texts.
TEST_F(IndexTuples, CreateMissingArrayElementReadsEveryIndexOrNothing) {
    Probe<ZR_BASE_III> a;
    a.CreateMissingArrayElement(" 3 , 7 ,1 )");
    ASSERT_EQ(a.SlotCount(), 1);
    EXPECT_EQ(a.Slot(0)->IndexText(), "3,7,1");
    a.CreateMissingArrayElement("4,7,2,9)");
    EXPECT_EQ(a.SlotCount(), 1);
    EXPECT_EQ(a.IndexSet(2).SetSize(), 1);

    Probe<ZR_BASE_SS> s;
    const std::string longest(127, 'w');
    s.CreateMissingArrayElement(("a," + longest + ")").c_str());
    ASSERT_EQ(s.SlotCount(), 1);
    EXPECT_EQ(s.IndexSet(1).String(0), longest);
    s.CreateMissingArrayElement(("b," + longest + "w)").c_str());
    s.CreateMissingArrayElement("b, )");  // an empty text is written ""
    EXPECT_EQ(s.SlotCount(), 1);
    s.CreateMissingArrayElement("b,\"\")");
    EXPECT_EQ(s.SlotCount(), 4);
}

TEST_F(IndexTuples, ATupleTooLargeToHoldChangesNothing) {
    Probe<ZR_BASE_IS> a;
    a.Find(1, "a");
    a.Find(2, "b");
    host.config.maxArraySlots = 5;
    EXPECT_EQ(a.Find(3, "a"), nullptr);
    ExpectErrors(1, "larger than the host can hold");
    EXPECT_EQ(a.SlotCount(), 4);
    EXPECT_EQ(a.IndexSet(0).SetSize(), 2);
    EXPECT_NE(a.Find(2, "a"), nullptr);
}

TEST_F(IndexTuples, AnElementTheHeapCannotGiveIsMissingButTheLayoutHolds) {
    const auto before = host.Heap();
    {
        RealArrayII a;
        a.Find(0, 0);
        host.FailAllocationsAfter(0);
        EXPECT_EQ(a.Find(1, 1), nullptr);
        host.FailAllocationsAfter(-1);
        ExpectErrors(1, "no element could be built");
        EXPECT_EQ(a.SlotCount(), 4);
        ZR_Type* e = &a(1, 1);
        EXPECT_EQ(e->FullName(), "(1,1)");
        EXPECT_EQ(a.Slot(3), e);
    }
    EXPECT_EQ(host.Heap().liveBlocks, before.liveBlocks);
}

TEST_F(IndexTuples, DeclaredSetsAreBoundAndLetGoWhicheverGoesFirst) {
    ZR_INTEGERSET x;
    ZR_INTEGERSET y;
    {
        RealArrayII a;
        a.SetDim(x, y);
        EXPECT_EQ(a.DeclaredSet(0), &x);
        EXPECT_EQ(a.DeclaredSet(1), &y);
        EXPECT_EQ(x.DependentCount(), 1);
        a.SetDim(y, y);
        EXPECT_EQ(x.DependentCount(), 0);
        EXPECT_EQ(y.DependentCount(), 1);
        RealArrayII copy(a);
        EXPECT_EQ(copy.DeclaredSet(0), nullptr);
        a.Find(7, 7);  // a value outside the declared set joins the index set
        EXPECT_EQ(a.IndexSet(0).Integer(0), 7);
    }
    EXPECT_EQ(y.DependentCount(), 0);
    RealArrayI a;
    {
        ZR_INTEGERSET z;
        a.SetDim(z);
    }
    EXPECT_EQ(a.DeclaredSet(0), nullptr);
    a.SetDim(x);
    EXPECT_EQ(a.DeclaredSet(0), &x);
}

TEST_F(IndexTuples, ReadIndexStopsAtItsBufferAndAtBadNumbers) {
    char buffer[128];
    const char* text = "  12 ,x";
    int n = 0;
    ASSERT_TRUE(ZR_Matrix::ReadIndex(text, n, ','));
    EXPECT_EQ(n, 12);
    EXPECT_STREQ(text, "x");
    for (const char* bad : {"2147483648,", "-2147483649,", "1 2,", "-,", "7", ""}) {
        const char* cursor = bad;
        n = 5;
        EXPECT_FALSE(ZR_Matrix::ReadIndex(cursor, n, ',')) << bad;
        EXPECT_EQ(cursor, bad);
        EXPECT_EQ(n, 5);
    }
    const char* low = "-2147483648)";
    EXPECT_TRUE(ZR_Matrix::ReadIndex(low, n, ')'));
    EXPECT_EQ(n, -2147483647 - 1);
    const std::string over = std::string(128, 'a') + ")";
    const std::string quotedOver = "\"" + std::string(128, 'a') + "\")";
    for (const std::string& bad : {over, quotedOver, std::string("\"open)"), std::string("\"a\" b)")}) {
        const char* cursor = bad.c_str();
        EXPECT_FALSE(ZR_Matrix::ReadIndex(cursor, buffer, ')')) << bad;
        EXPECT_EQ(cursor, bad.c_str());
    }
    const char* none = nullptr;
    EXPECT_FALSE(ZR_Matrix::ReadIndex(none, buffer, ')'));
    EXPECT_FALSE(ZR_Matrix::ReadIndex(none, n, ')'));
}

TEST_F(IndexTuples, ACopyWithoutRoomForItsSlotsFillsThemOnFirstUse) {
    RealArrayII a;
    a.Find(1, 1);
    a.Find(2, 2);
    host.config.maxArraySlots = 3;
    RealArrayII copy(a);
    ExpectErrors(1, "larger than the host can hold");
    EXPECT_EQ(copy.SlotCount(), 0);
    EXPECT_EQ(copy.IndexSet(1).SetSize(), 2);
    host.config.maxArraySlots = 100;
    EXPECT_EQ(copy.NewElements(), 4);
    EXPECT_EQ(copy.Slot(1)->IndexText(), "1,2");

    host.config.maxArraySlots = 3;
    RealArrayII other(a);
    ExpectErrors(1);
    host.config.maxArraySlots = 100;
    ZR_REALVARIABLE& e = other(2, 1);
    ASSERT_EQ(other.SlotCount(), 4);
    EXPECT_EQ(other.Slot(2), &e);
    EXPECT_EQ(a.Slot(2), nullptr);  // the source keeps its own
}

TEST_F(IndexTuples, TheElementVectorRefusesAWideningThatIsNotItsLayout) {
    ZR_LongPtrVectorOwnsData v;
    v.AddNullEntries(0, 0, 6);  // 2 x 3, say
    ASSERT_EQ(v.Elements(), 6);
    v.AddNullEntries(3, 2, 3);  // a position past the values there were
    v.AddNullEntries(0, 4, 1);  // 6 slots are no whole number of blocks of 4
    v.AddNullEntries(0, 0, 2);  // the dimension was not empty
    v.AddNullEntries(0, 2, -1);
    ExpectErrors(4, "AddNullEntries");
    EXPECT_EQ(v.Elements(), 6);
    v.AddNullEntries(1, 3, 1);  // 2 x 4
    EXPECT_EQ(v.Elements(), 8);
    host.config.maxArraySlots = 8;
    v.AddNullEntries(2, 2, 4);  // 3 x 4 would pass the limit
    ExpectErrors(1, "larger than the host can hold");
    EXPECT_EQ(v.Elements(), 8);
    EXPECT_EQ(v[8], nullptr);
    EXPECT_EQ(v[-1], nullptr);
}
