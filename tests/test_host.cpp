// Our stand-in of the host runtime: the rules it decides where the library leaves
// them to the host, and the faults it must notice rather than suffer.
#include <climits>
#include <cmath>
#include <cstdint>

#include "index_sets.h"
#include "library.h"
#include "qtvexp.h"
#include "qtvexp/evaluate.h"

using namespace testing_support;
using index_sets::Members;

namespace {

// Host arrays as a model library's array wrappers make them.
template <class Base, class Element>
class ArrayOf : public Base {
public:
    ZR_Type* NewElement() override { return new Element(true); }
};

// A record with one member, as a section record holds its ELEMENTLENGTH.
class Record : public ZR_ModelTypeEx {
public:
    explicit Record(bool) { H.AddProperty(this, "H", nullptr, 0, false); }
    ZR_REALPARAMETER H;
};

std::vector<int> Iterate(const SUValue& s) {
    std::vector<int> out;
    ZR_IntegerSetIter it(s);
    while (it.Next()) out.push_back(it.fv());
    return out;
}

class StandIn : public HostTest {};
}  // namespace

TEST_F(StandIn, IntegerRangesFollowTheHostRules) {
    EXPECT_EQ(Members(ZR_IntSetValue(2, 5)), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(Members(ZR_IntSetValue(3, 3)), (std::vector<int>{3}));
    EXPECT_TRUE(Members(ZR_IntSetValue(1, 0)).empty());
    EXPECT_TRUE(Members(ZR_IntSetValue(0, -7)).empty());
    EXPECT_EQ(Members(ZR_IntSetValue(0, INT_MIN)), (std::vector<int>{0}));
    EXPECT_EQ(Members(ZR_IntSetValue(-4, INT_MIN)), (std::vector<int>{-4}));
    EXPECT_EQ(Members(ZR_IntSetValue(INT_MAX - 1, INT_MAX)), (std::vector<int>{INT_MAX - 1, INT_MAX}));
    ZR_IntSetValue fromNull(static_cast<const char*>(nullptr));
    EXPECT_EQ(fromNull.SetSize(), 0);
    fromNull += 9;
    EXPECT_EQ(Iterate(fromNull), (std::vector<int>{9}));
    // Ranges too large to hold are refused, not allocated.
    ZR_IntSetValue huge(INT_MIN + 1, INT_MAX);
    EXPECT_EQ(huge.SetSize(), 0);
    ASSERT_EQ(host.errors.size(), 1u);
    host.errors.clear();
    host.config.maxRangeMembers = 4;
    EXPECT_EQ(ZR_IntSetValue(-1, 2).SetSize(), 4);
    EXPECT_EQ(ZR_IntSetValue(-1, 3).SetSize(), 0);
    ASSERT_EQ(host.errors.size(), 1u);
    host.errors.clear();
}

// Model libraries take what a look-up gives without a test: an index past what
// the host can hold still gets an element, one stand-in per array, reported.
TEST_F(StandIn, AnArrayFullUpHandsOutOneReportedStandIn) {
    const long long blocks = host.Heap().liveBlocks;
    {
        ArrayOf<ZR_BASE_I, ZR_REALPARAMETER> a;
        host.config.maxArraySlots = 2;
        ZR_Type* one = a.Find(1);
        ZR_Type* two = a.Find(2);
        EXPECT_TRUE(host.errors.empty());
        ZR_Type* three = a.Find(3);
        ASSERT_NE(three, nullptr);
        EXPECT_NE(three, one);
        EXPECT_NE(three, two);
        EXPECT_EQ(a.Find(-5), three);
        EXPECT_EQ(a.Find(1), one);  // held elements are still found
        EXPECT_EQ(a.SlotCount(), 2);
        EXPECT_EQ(Members(a.IndexSet(0)), (std::vector<int>{1, 2}));
        EXPECT_NE(a.WhyNotHeld(*three), "");
        dynamic_cast<ZR_REALPARAMETER&>(*three).v();  // usable
        std::size_t reported = 0;
        for (const std::string& e : host.errors) reported += e.find("cannot hold this element") != std::string::npos;
        EXPECT_EQ(reported, 2u);
        host.errors.clear();
    }
    EXPECT_EQ(host.Heap().liveBlocks, blocks);  // the stand-ins go with their arrays
}

// An equation about an element the model does not have is reported by name: an
// element outside its array's declared index set, a member of such an element,
// or the stand-in of an element the array could not hold.
TEST_F(StandIn, IncidenceNamesOnlyElementsInsideTheirIndexSets) {
    ZR_ModelTypeEx model;
    // Registers an array and its index set with the model, fills the set, binds it.
    auto declare = [&](auto& array, const char* name, ZR_Set& set, const SUValue& members) {
        set.AddProperty(&model, ("ZR_" + std::string(name) + "_SET1").c_str(), nullptr, 0, false);
        array.AddProperty(&model, name, nullptr, 0, false);
        set.SetInternalValue(ZR_Value(members, 0, 1, 1));
        array.SetDim(set);
    };
    ZR_INTEGERSET nodes, sections;
    ArrayOf<ZR_BASE_I, ZR_REALVARIABLE> x;
    ArrayOf<ZR_BASE_I, Record> records;
    declare(x, "X", nodes, ZR_IntSetValue(1, 3));
    declare(records, "S", sections, ZR_IntSetValue(1, 1));
    auto term = [](ZR_Type* t) -> ZR_VarParam& { return dynamic_cast<ZR_VarParam&>(*t); };

    model.SetGroupLimits(1);
    model.AddNonZero(term(x.Find(3)));
    model.AddNonZero(dynamic_cast<Record&>(*records.Find(1)).H);
    EXPECT_TRUE(host.errors.empty());
    model.AddNonZero(term(x.Find(4)));
    model.AddNonZero(dynamic_cast<Record&>(*records.Find(2)).H);
    host.config.maxArraySlots = 2;
    model.AddNonZero(term(x.Find(5)));
    ASSERT_EQ(host.errors.size(), 5u);  // the last look-up's two reports, and three equations'
    EXPECT_EQ(host.errors[0], "X(4): an equation names it, but it lies outside ZR_X_SET1 {1, 2, 3}");
    EXPECT_EQ(host.errors[1], "S(2).H: an equation names it, but it lies outside ZR_S_SET1 {1}");
    EXPECT_EQ(host.errors[4], "X(*): an equation names it, but X does not hold it");
    host.errors.clear();
}

TEST_F(StandIn, SetAlgebraKeepsOrderAndIteratesAscending) {
    SUValue u = ZR_IntSetValue(1, 3);
    u += SUValue(ZR_IntSetValue(5, 6));  // beyond the last member
    EXPECT_EQ(Iterate(u), (std::vector<int>{1, 2, 3, 5, 6}));
    u += SUValue(ZR_IntSetValue(0, 4));  // overlapping
    u += SUValue(ZR_IntSetValue(6, 6));  // touching the last member
    u += SUValue(ZR_IntSetValue(1, 0));  // empty
    EXPECT_EQ(Iterate(u), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    SUValue text;
    text.ResetType(ZR_SET_STRING);
    u += text;  // of another kind: no change
    EXPECT_EQ(u.SetSize(), 7);
    SUValue i = ZR_IntSetValue(1, 6);
    i *= ZR_IntSetValue(4, 9);
    i += 0;
    i += 5;
    EXPECT_EQ(Iterate(i), (std::vector<int>{0, 4, 5, 6}));
    // An iterator works on its own copy: the set may go at once.
    auto* temp = new ZR_IntSetValue(7, 8);
    ZR_IntegerSetIter it(*temp);
    delete temp;
    ASSERT_TRUE(it.Next());
    EXPECT_EQ(it.fv(), 7);
    ASSERT_TRUE(it.Next());
    EXPECT_EQ(it.v(), 8);
    EXPECT_FALSE(it.Next());
    EXPECT_FALSE(it.Next());
}

// Small sets are copied in place, larger ones and text sets through the heap; a
// set that shrank keeps its heap block and must still copy what it holds.
TEST_F(StandIn, CopiesOfSetsHoldWhatTheSetHolds) {
    for (int size = 0; size <= 3; ++size) {
        ZR_IntSetValue grown(1, 40);
        grown *= ZR_IntSetValue(10, 9 + size);
        const SUValue copy = grown;
        EXPECT_EQ(Members(copy), Members(ZR_IntSetValue(10, 9 + size))) << size;
        EXPECT_EQ(Iterate(grown), Members(copy)) << size;
    }
    const SUValue text = ZR_StrSetValue("b\"a\"");
    const SUValue copy = text;
    EXPECT_EQ(copy.Type(), ZR_SET_STRING);
    ASSERT_EQ(copy.SetSize(), 2);
    EXPECT_STREQ(copy.StringAt(0), "a");
    ZR_StringSetIter it(text);
    ASSERT_TRUE(it.Next());
    EXPECT_STREQ(it.v(), "a");
}

TEST_F(StandIn, TextSetsFromQuoteTerminatedTexts) {
    ZR_StrSetValue methods("BFD1\"BFD2\"CFD2\"CFD4\"FFD1\"FFD2\"OCFE2\"OCFE3\"OCFE4\"UBFD4\"");
    EXPECT_EQ(methods.SetSize(), 10);
    EXPECT_TRUE(methods >= "UBFD4");
    EXPECT_FALSE(methods >= "ubfd4");
    EXPECT_FALSE(methods >= "");
    EXPECT_EQ(ZR_StrSetValue("").SetSize(), 0);
}

TEST_F(StandIn, UserValueWinsOverAssignedWhichWinsOverDefault) {
    ZR_INTEGERPARAMETER p(true);
    EXPECT_EQ(p.v(), 0);
    ZR_Value assigned(4, 0, 1, 5);
    EXPECT_EQ(p.Assign(&assigned), 0);
    EXPECT_EQ(p.v(), 4);
    EXPECT_EQ(p.AssignedStatement(), 5);
    EXPECT_EQ(p.SetUserValue(ZR_Value(9, 0)), 0);
    EXPECT_EQ(p.fv(), 9);
    ZR_Value later(6, 0, 1, 5);
    p.Assign(&later);
    EXPECT_EQ(p.fv(), 9);
    p.ClearUserValue();
    EXPECT_EQ(p.fv(), 6);
    ASSERT_EQ(host.assignments.size(), 2u);
    EXPECT_EQ(host.assignments[1].value.Statement(), 5);
}

TEST_F(StandIn, ValuesOfTheWrongKindAreRefusedWithoutChange) {
    ZR_INTEGERPARAMETER n(true);
    ZR_Value text("three", 0, 1, 2);
    EXPECT_LT(n.Assign(&text), 0);
    ZR_Value fraction(2.5, 0, 1, 2);
    EXPECT_LT(n.Assign(&fraction), 0);
    ZR_Value nan(std::nan(""), 0, 1, 2);
    EXPECT_LT(n.Assign(&nan), 0);
    EXPECT_EQ(n.v(), 0);
    EXPECT_FALSE(n.HasAssignedValue());
    EXPECT_EQ(host.errors.size(), 3u);
    host.errors.clear();
    ZR_Value whole(3.0, 0, 1, 2);
    EXPECT_EQ(n.Assign(&whole), 0);
    EXPECT_EQ(n.v(), 3);
}

TEST_F(StandIn, SetsTakeSingleMembersAndSetsOfTheirOwnKind) {
    ZR_STRINGSET integrals(true);
    ZR_Value none("None", 0, 1, 7);
    EXPECT_EQ(integrals.Assign(&none), 0);
    EXPECT_TRUE(integrals.v() >= "None");
    EXPECT_EQ(integrals.v().SetSize(), 1);
    ZR_Value ints(ZR_IntSetValue(0, 2), 0, 1, 7);
    EXPECT_LT(integrals.Assign(&ints), 0);
    host.errors.clear();
}

TEST_F(StandIn, HeapCountsBlocksAndRejectsForeignOrDoubleFrees) {
    const auto before = host.Heap();
    void* a = MyAllocate(24);
    void* b = MyAllocate(0);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a) % 16, 0u);
    EXPECT_EQ(host.Heap().liveBlocks, before.liveBlocks + 2);
    EXPECT_EQ(host.Heap().liveBytes, before.liveBytes + 24);
    MyFree(a);
    MyFree(b);
    MyFree(nullptr);
    EXPECT_EQ(host.Heap().liveBlocks, before.liveBlocks);
    EXPECT_TRUE(host.errors.empty());
    alignas(16) unsigned char foreign[64] = {};
    MyFree(foreign + 16);
    EXPECT_EQ(host.errors.size(), 1u);
    host.errors.clear();
    host.FailAllocationsAfter(1);
    void* ok = MyAllocate(8);
    EXPECT_NE(ok, nullptr);
    EXPECT_EQ(MyAllocate(8), nullptr);
    host.FailAllocationsAfter(-1);
    MyFree(ok);

    // A budget refuses the block beyond it, and gives again once blocks come back.
    host.config.maxHeapBytes = before.liveBytes + 100;
    void* fits = MyAllocate(100);
    EXPECT_NE(fits, nullptr);
    EXPECT_EQ(MyAllocate(1), nullptr);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_NE(host.errors[0].find("the host heap cannot hold 1 more bytes"), std::string::npos);
    host.errors.clear();
    MyFree(fits);
    void* again = MyAllocate(100);
    EXPECT_NE(again, nullptr);
    MyFree(again);
    EXPECT_EQ(host.Heap().liveBytes, before.liveBytes);
}

TEST_F(StandIn, ExpressionTokensMustTargetTheOpenEquationAndStayInsideThePattern) {
    auto model = Make("GENERICCONNECTION");
    auto& builder = dynamic_cast<ZR_ModelExtensions&>(*model);
    ZR_REALVARIABLE x(true);
    int count = 10;
    model->AddEquation("E", count, 3);
    EXPECT_EQ(count, 11);
    int rowArray[1];
    int colArray[1];
    int* rows = rowArray;
    int* cols = colArray;
    host.SetPatternLimit(rowArray + 1, colArray + 1);
    builder.AddOp(EOP_MINUS, 10);
    builder.AddTerm(x, rows, cols, 10);
    builder.AddTerm(2, 10);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(rowArray[0], 10);
    EXPECT_EQ(colArray[0], x.ColumnIndex());
    builder.AddTerm(x, rows, cols, 10);  // a second term would run past the arrays
    EXPECT_EQ(rows, rowArray + 1);
    builder.AddTerm(1.5, 9);  // not the open equation
    EXPECT_EQ(host.errors.size(), 2u);
    host.errors.clear();
    host.SetPatternLimit(nullptr, nullptr);
    ASSERT_EQ(host.expressions.size(), 1u);
    EXPECT_EQ(host.expressions[0].tokenCount, 4u);
    EXPECT_EQ(host.EquationName(host.expressions[0]), "E");
}

TEST_F(StandIn, SetGroupLimitsOnlyRaisesTheLastGroup) {
    auto model = Make("GENERICCONNECTION");
    ZR_ModelType::m_stLastGroup = 10;
    model->SetGroupLimits(12);
    EXPECT_EQ(ZR_ModelType::m_stLastGroup, 12);
    model->SetGroupLimits(11);
    EXPECT_EQ(ZR_ModelType::m_stLastGroup, 12);
    EXPECT_EQ(host.incidence.size(), 2u);
}

TEST_F(StandIn, APortCountsItselfOnceInTheWalkOverPorts) {
    ZR_PortType plain;
    ZR_MULTIPORT_BaseType multi;
    for (ZR_PortType* port : {&plain, static_cast<ZR_PortType*>(&multi)}) {
        EXPECT_EQ(port->PortCount(true), 1);
        EXPECT_EQ(port->PortCount(false), 1);
        for (int start : {0, -3, 1, 4}) {
            int index = start;
            EXPECT_EQ(port->GetPort(index, true), start <= 0 ? port : nullptr) << start;
            EXPECT_EQ(index, start - 1);
        }
        EXPECT_EQ(port->CreateConnectionPort("A", 0), nullptr);
        EXPECT_EQ(port->FindConnectionPort("A"), nullptr);
    }
    EXPECT_FALSE(plain.IsAMultiport());
    EXPECT_TRUE(multi.IsAMultiport());
    multi.DumpStructure();
    ASSERT_EQ(host.baseCalls.size(), 1u);
    EXPECT_EQ(host.baseCalls[0].kind, qtvhost::BaseCall::DumpStructure);
    // The base multiport: its own id and an empty set of names.
    EXPECT_TRUE(multi.ContainerDerivesFrom("MULTIPORT"));
    EXPECT_FALSE(multi.ContainerDerivesFrom("Port CONTROLPORT\tV9"));
    EXPECT_FALSE(multi.ContainerDerivesFrom(nullptr));
    EXPECT_EQ(multi.PropertyCount(), 0);
    EXPECT_EQ(multi.ConnectionNames().fv().Type(), ZR_SET_STRING);
    EXPECT_EQ(multi.ConnectionNames().fv().SetSize(), 0);
}

TEST_F(StandIn, GlobalStructuresAreHeldByNameUntilReplacedOrReset) {
    const auto before = host.Heap();
    auto* first = new ZR_StructureTypeEx;
    auto* second = new ZR_StructureTypeEx;
    second->AddRef();  // the test's own reference
    host.AddGlobalStructure("Plant", first);
    EXPECT_EQ(first->RefCount(), 1u);
    EXPECT_EQ(host.FindGlobalStructure("PLANT"), first);
    EXPECT_EQ(host.FindGlobalStructure("Plan"), nullptr);
    EXPECT_EQ(host.FindGlobalStructure(nullptr), nullptr);
    host.AddGlobalStructure("plant", second);  // first goes
    EXPECT_EQ(host.FindGlobalStructure("Plant"), second);
    EXPECT_EQ(second->RefCount(), 2u);
    host.AddGlobalStructure("", second);
    host.AddGlobalStructure("Other", nullptr);
    EXPECT_EQ(host.errors.size(), 2u);
    host.Reset();
    EXPECT_EQ(host.FindGlobalStructure("Plant"), nullptr);
    EXPECT_EQ(second->Release(), 0u);
    EXPECT_EQ(host.Heap().liveBlocks, before.liveBlocks);
}

TEST_F(StandIn, AStructureReferenceHoldsTheModelItAnswers) {
    auto* model = new ZR_StructureTypeEx;
    model->AddRef();
    {
        ZR_GlobalStructureRefBase ref(model);
        EXPECT_EQ(model->RefCount(), 2u);
        EXPECT_EQ(ref.Dereference(), model);
        ZR_GlobalStructureRefBase copy(ref);
        copy = ref;
        EXPECT_EQ(model->RefCount(), 3u);
        auto* global = new ZR_StructureTypeEx;
        host.AddGlobalStructure("G", global);
        ASSERT_EQ(copy.SetUserValue(ZR_Value("g", 0)), 0);
        EXPECT_EQ(copy.Dereference(), global);
        EXPECT_EQ(ref.Dereference(), model);
    }
    EXPECT_EQ(model->RefCount(), 1u);
    model->Release();
    // Without a model and without a library to build a dummy there is nothing.
    ZR_GlobalStructureRefBase empty(nullptr);
    EXPECT_EQ(empty.Dereference(), nullptr);
}

namespace {
qtvhost::Token Op(int code) { return {qtvhost::TK_OP, code, 0.0, nullptr}; }
qtvhost::Token Real(double v) { return {qtvhost::TK_REAL, 0, v, nullptr}; }
qtvhost::Token Int(int v) { return {qtvhost::TK_INT, v, 0.0, nullptr}; }
qtvhost::Token Var(const ZR_VarParam& v) { return {qtvhost::TK_TERM, 0, 0.0, &v}; }

qtvhost::Evaluation Eval(std::initializer_list<qtvhost::Token> tokens) {
    return qtvhost::EvaluateTokens(tokens.begin(), tokens.size());
}
}  // namespace

TEST_F(StandIn, EvaluatorFollowsThePrefixTree) {
    ZR_REALVARIABLE ddx(true), v0(true), v1(true);
    ZR_REALPARAMETER h(true);
    ddx.SetValue(3.0);
    v0.SetValue(1.0);
    v1.SetValue(1.6);
    ASSERT_EQ(h.SetUserValue(ZR_Value(0.2, 0)), 0);
    // + * DDX h - V0 V1  =  DDX*h + (V0 - V1)
    auto r = Eval({Op(19), Op(21), Var(ddx), Var(h), Op(20), Var(v0), Var(v1)});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_NEAR(r.value, 3.0 * 0.2 + (1.0 - 1.6), 1e-15);
    EXPECT_NEAR(r.magnitude, 3.0 * 0.2 + 1.0 + 1.6, 1e-15);
    // - * D2 sqr h ...: the square applies to its one operand only
    auto s = Eval({Op(20), Op(21), Int(2), Op(40), Var(h), Op(22), Real(1.0), Int(4)});
    ASSERT_TRUE(s.ok);
    EXPECT_DOUBLE_EQ(s.value, 2 * 0.04 - 0.25);
    auto z = Eval({Op(1), Var(v0)});
    ASSERT_TRUE(z.ok);
    EXPECT_EQ(z.value, 1.0);
    auto neg = Eval({Op(19), Int(-3), Var(v1)});
    EXPECT_DOUBLE_EQ(neg.value, -3 + 1.6);
    EXPECT_DOUBLE_EQ(neg.magnitude, 3 + 1.6);
}

TEST_F(StandIn, EvaluatorRejectsMalformedStreams) {
    ZR_REALVARIABLE x(true);
    EXPECT_FALSE(Eval({}).ok);
    auto r = Eval({Op(19), Var(x)});  // too few operands
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_FALSE(Eval({Op(40)}).ok);
    EXPECT_FALSE(Eval({Var(x), Var(x)}).ok);               // trailing token
    EXPECT_FALSE(Eval({Op(23), Var(x), Var(x)}).ok);       // unknown code
    EXPECT_FALSE(Eval({Op(19), Var(x), Var(x), Int(1)}).ok);
}

TEST_F(StandIn, AValueWhoseStatementNoLongerRunsReturnsToItsDefault) {
    ZR_INTEGERPARAMETER npp(true), min(true);
    host.BeginAssignmentRun(nullptr);
    ZR_Value three(3, 0, 1, 16);
    ZR_Value four(4, 0, 1, 8);
    npp.Assign(&three);
    min.Assign(&four);
    EXPECT_TRUE(host.EndAssignmentRun());  // everything was new
    host.BeginAssignmentRun(nullptr);
    min.Assign(&four);  // the statement that set npp did not run this time
    EXPECT_TRUE(host.EndAssignmentRun());
    EXPECT_EQ(npp.v(), 0);
    EXPECT_FALSE(npp.HasAssignedValue());
    EXPECT_EQ(min.v(), 4);
    {
        ZR_INTEGERPARAMETER gone(true);
        host.BeginAssignmentRun(nullptr);
        gone.Assign(&three);
        min.Assign(&four);
    }  // an assigned value whose holder goes mid-run is forgotten, not touched
    host.EndAssignmentRun();
    EXPECT_EQ(min.v(), 4);
    host.BeginAssignmentRun(nullptr);
    min.Assign(&four);
    EXPECT_FALSE(host.EndAssignmentRun());
}

TEST_F(StandIn, OnlyTheRunningInstanceLosesItsStaleValues) {
    auto a = Make("GENERICMODEL");
    auto b = Make("GENERICMODEL");
    ZR_INTEGERPARAMETER ofA(true), ofB(true);
    ZR_Value one(1, 0, 1, 3);
    host.BeginAssignmentRun(a.get());
    ofA.Assign(&one);
    host.EndAssignmentRun();
    host.BeginAssignmentRun(b.get());
    ofB.Assign(&one);
    host.EndAssignmentRun();
    EXPECT_EQ(ofA.v(), 1);  // b's run did not assign it, but it is a's
    host.BeginAssignmentRun(a.get());
    host.EndAssignmentRun();
    EXPECT_EQ(ofA.v(), 0);
    EXPECT_EQ(ofB.v(), 1);
}

// One statement gives a value that a later statement of the same run replaces (a
// domain's INTERIOR without joints, then with them): the run that ends where it
// began has settled, while a real change, in either statement, has not.
TEST_F(StandIn, AValueChangedAndChangedBackWithinARunHasSettled) {
    ZR_INTEGERPARAMETER p(true);
    ZR_INTEGERSET set;
    ZR_Value first(1, 0, 1, 41), second(2, 0, 1, 42), other(3, 0, 1, 42);
    auto run = [&](ZR_Value& last, int setHi) {
        host.BeginAssignmentRun(nullptr);
        p.Assign(&first);
        p.Assign(&last);
        set.SetInternalValue(ZR_Value(ZR_IntSetValue(0, 5), 0, 1, 1));
        set.SetInternalValue(ZR_Value(ZR_IntSetValue(0, setHi), 0, 1, 1));
        return host.EndAssignmentRun();
    };
    EXPECT_TRUE(run(second, 7));
    EXPECT_FALSE(run(second, 7));
    EXPECT_TRUE(run(other, 7));
    EXPECT_EQ(p.v(), 3);
    EXPECT_TRUE(run(other, 8));
    EXPECT_FALSE(run(other, 8));
}
