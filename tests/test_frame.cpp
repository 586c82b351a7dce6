// The type shape, told on every instantiable type of the connectivity vocabulary
// and the domains, and on the ports they embed, all reached the host's way.
#include <set>
#include <tuple>

#include "connectivity/connections.h"
#include "frame/frame.h"
#include "library.h"
#include "registrations.h"

using namespace testing_support;
using qtvhost::BaseCall;

namespace {

Expected ConnectionEnd(const char* name, int direction) {
    return {name, "Port CONNECTIONPORT\tV9", direction, true, 4};
}

// Each internal index set is registered just before the array it dimensions.
std::vector<Expected> DomainMembers() {
    auto plain = [](const char* name, const char* what, const char* description = nullptr) {
        return Expected{name, what, ZR_DIR_NONE, true, 0, description, 0};
    };
    auto replaceable = [](const char* name, const char* description = nullptr) {
        return Expected{name, "parameter", ZR_DIR_NONE, true, 0, description, 2};
    };
    return {plain("ZR_SECTION_SET1", "set"),
            replaceable("SECTION"),
            replaceable("LENGTH", "Domain length"),
            replaceable("SPACINGPREFERENCE", "Preferred node spacing for domain"),
            plain("ZR_VALUE_SET1", "set"),
            replaceable("VALUE", "DO NOT EDIT - Location of each node in domain"),
            Notes(),
            SignalPort("INPUTSIGNAL", ZR_DIR_INPUT),
            SignalPort("OUTPUTSIGNAL", ZR_DIR_OUTPUT),
            plain("DISCRETIZATIONMETHOD", "parameter", "Method used to calculate partial derivatives"),
            plain("NUMSECTIONS", "parameter", "Number of sections in the domain"),
            plain("MINNODECOUNT", "parameter"),
            plain("NUMPOLYPOINTS", "parameter"),
            plain("ZR_POLYPOINT_SET1", "set"),
            plain("POLYPOINT", "array"),
            plain("HIGHESTORDERDERIVATIVE", "parameter"),
            plain("ELEMENTBOUNDARYCONDITION", "parameter",
                  "Direction of derivative used as boundary condition for OCFE models"),
            plain("INTERIOR", "set"),
            plain("ENDNODE", "parameter", "DO NOT EDIT - Index of the rightmost element in domain")};
}

// The generic model's members, then the record's own.
std::vector<Expected> SectionMembers() {
    auto own = [](const char* name, const char* what, const char* description = nullptr, int via = 0) {
        return Expected{name, what, ZR_DIR_NONE, true, 0, description, via};
    };
    return {Notes(),
            ComponentList(),
            SignalPort("INPUTSIGNAL", ZR_DIR_INPUT),
            SignalPort("OUTPUTSIGNAL", ZR_DIR_OUTPUT),
            own("MINNODECOUNT", "reference", nullptr, 1),
            own("LOCATION", "parameter", "Absolute location of LH boundary of this section", 2),
            own("SPACINGPREFERENCE", "parameter", "Preferred spacing between nodes in this section", 2),
            own("SPACINGUSED", "parameter", "Actual spacing used between nodes in this section", 2),
            own("LENGTH", "parameter"),
            own("NODECOUNT", "parameter"),
            own("BASE", "parameter"),
            own("NUMELEMENTS", "parameter"),
            own("ELEMENTLENGTH", "parameter"),
            own("INTERIOR", "set")};
}

struct TypeCase {
    const char* type;
    const char* id;
    const char* libraryBase;  // the library base's type name, or null on a host base
    std::vector<Expected> members;
};

const std::vector<TypeCase>& Cases() {
    static const std::vector<TypeCase> cases = {
        {"GENERICCONNECTION", "Model GENERICCONNECTION\tV9", nullptr,
         {Notes(), ConnectionEnd("SOURCE", ZR_DIR_INPUT), ConnectionEnd("DEST", ZR_DIR_OUTPUT)}},
        {"CONNECTION", "Model CONNECTION\tV9", "GENERICCONNECTION",
         {Notes(), ConnectionEnd("SOURCE", ZR_DIR_INPUT), ConnectionEnd("DEST", ZR_DIR_OUTPUT)}},
        {"GENERICCONTROLSIGNAL", "Model GENERICCONTROLSIGNAL\tV9", nullptr,
         {Notes(), SignalPort("SOURCE", ZR_DIR_INPUT), SignalPort("DEST", ZR_DIR_OUTPUT)}},
        {"CONTROLSIGNAL", "Model CONTROLSIGNAL\tV9", "GENERICCONTROLSIGNAL",
         {Notes(), SignalPort("SOURCE", ZR_DIR_INPUT), SignalPort("DEST", ZR_DIR_OUTPUT)}},
        {"GENERICMODEL", "Model GENERICMODEL\tV9", nullptr,
         {Notes(), ComponentList(), SignalPort("INPUTSIGNAL", ZR_DIR_INPUT),
          SignalPort("OUTPUTSIGNAL", ZR_DIR_OUTPUT)}},
        {"GENERICSTREAM", "Stream GENERICSTREAM\tV9", nullptr,
         {Notes(), ComponentList(), SignalPort("ZR_UNCONNECTABLEINPUT", ZR_DIR_INPUT),
          SignalPort("ZR_UNCONNECTABLEOUTPUT", ZR_DIR_OUTPUT), SignalPort("INPUTSIGNAL", ZR_DIR_INPUT),
          SignalPort("OUTPUTSIGNAL", ZR_DIR_OUTPUT)}},
        {"GENERICSTRUCTURE", "Structure GENERICSTRUCTURE\tV9", nullptr, {Notes(), ComponentList()}},
        {"SECTIONDATAMODEL", "Model SECTIONDATAMODEL\tV9", "GENERICMODEL", SectionMembers()},
        {"DOMAIN", "Model DOMAIN\tV9", nullptr, DomainMembers()},
        {"LENGTHDOMAIN", "Model LENGTHDOMAIN\tV9", "DOMAIN", DomainMembers()},
        {"ANGLEDOMAIN", "Model ANGLEDOMAIN\tV9", "DOMAIN", DomainMembers()},
    };
    return cases;
}

const TypeCase* Find(const char* type) {
    for (const TypeCase& c : Cases())
        if (type && std::string(type) == c.type) return &c;
    return nullptr;
}

// The number of library levels whose operations an instance runs.
int Levels(const TypeCase& c) {
    const TypeCase* base = Find(c.libraryBase);
    return base ? 1 + Levels(*base) : 1;
}

bool Accepts(const TypeCase& type, const TypeCase& candidate) {
    for (const TypeCase* t = &type; t; t = Find(t->libraryBase))
        if (t == &candidate) return true;
    return false;
}

std::string Lower(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

// An instance of each type and every port member it embeds, with the number of
// library levels each runs through.
struct Subject {
    ZR_ModelType* object;
    int levels;
    bool port;
    std::string label;
};

class Frame : public HostTest {
protected:
    std::vector<Subject> Subjects() {
        std::vector<Subject> subjects;
        for (const TypeCase& c : Cases()) {
            instances.push_back(Make(c.type));
            ZR_ModelType* instance = instances.back().get();
            subjects.push_back({instance, Levels(c), false, c.type});
            for (int i = 0; i < instance->PropertyCount(); ++i) {
                const auto& p = instance->PropertyAt(i);
                if (auto* port = dynamic_cast<ZR_PortType*>(p.member))
                    subjects.push_back({port, 1, true, std::string(c.type) + "." + p.name});
            }
        }
        return subjects;
    }
    std::vector<qtvhost::InstanceRef> instances;
};

int CountCalls(BaseCall::Kind kind) {
    int n = 0;
    for (const auto& c : qtvhost::Host::Get().baseCalls) n += c.kind == kind;
    return n;
}

}  // namespace

TEST_F(Frame, EveryTypeRegistersItsMembersOnceInDeclarationOrder) {
    for (const TypeCase& c : Cases()) {
        SCOPED_TRACE(c.type);
        host.registrations.clear();
        auto instance = Make(c.type);
        ExpectRegistrations(*instance, c.members);
        ASSERT_EQ(host.registrations.size(), c.members.size());  // the embedded ports register nothing
        for (const auto& r : host.registrations) EXPECT_EQ(r.owner, instance.get()) << r.name;
    }
}

// A type answers its own id and its library bases', in any letter case; a port
// its own only.
TEST_F(Frame, ContainerDerivesFromAcceptsTheIdsOfTheTypeAndItsLibraryBasesOnly) {
    const std::vector<Subject> subjects = Subjects();
    std::set<std::string> ids = {"Port GENERICPORT\tV9", "Model GENERICSTREAM\tV9"};  // the kind is part of the id
    for (const TypeCase& c : Cases()) ids.insert(c.id);
    for (const Subject& s : subjects) ids.insert(s.object->ZR_DefaultDESCRIPTION());
    for (const Subject& s : subjects) {
        SCOPED_TRACE(s.label);
        const std::string id = s.object->ZR_DefaultDESCRIPTION();
        const TypeCase* type = s.port ? nullptr : Find(s.label.c_str());
        if (type) {
            EXPECT_EQ(id, type->id);
        }
        for (const std::string& candidate : ids) {
            SCOPED_TRACE(candidate);
            const TypeCase* named = nullptr;
            for (const TypeCase& c : Cases()) named = candidate == c.id ? &c : named;
            const bool accepted = type ? named && Accepts(*type, *named) : candidate == id;
            EXPECT_EQ(s.object->ContainerDerivesFrom(candidate.c_str()), accepted);
            EXPECT_EQ(s.object->ContainerDerivesFrom(Lower(candidate).c_str()), accepted);
        }
        EXPECT_FALSE(s.object->ContainerDerivesFrom(id.substr(0, id.find('\t')).c_str()));
        EXPECT_FALSE(s.object->ContainerDerivesFrom((id + " ").c_str()));
        EXPECT_FALSE(s.object->ContainerDerivesFrom(""));
    }
}

TEST_F(Frame, ComponentListIsTheDeclaredMemberEveryTime) {
    for (const TypeCase& c : Cases()) {
        SCOPED_TRACE(c.type);
        auto instance = Make(c.type);
        const ZR_Container::Property* declared = instance->FindProperty("COMPONENTLIST");
        ZR_COMPONENTLISTNAME* list = instance->ComponentList();
        EXPECT_EQ(list, declared ? dynamic_cast<ZR_COMPONENTLISTNAME*>(declared->member) : nullptr);
        EXPECT_EQ(instance->ComponentList(), list);
    }
    // On the control and connection ports both operations stay the host's.
    for (const Subject& s : Subjects()) {
        if (s.port) {
            SCOPED_TRACE(s.label);
            auto* port = static_cast<ZR_PortType*>(s.object);
            EXPECT_EQ(port->ComponentList(), nullptr);
            EXPECT_EQ(port->IsConnected(), nullptr);
        }
    }
}

TEST_F(Frame, OperationsRunEveryLevelOnceAndPassTheHostResultsThrough) {
    for (const Subject& s : Subjects()) {
        SCOPED_TRACE(s.label);
        ZR_ModelType& object = *s.object;
        const void* asContainer = static_cast<const ZR_Container*>(s.object);

        host.baseCalls.clear();
        host.config.executeAssignmentsStatus = -77;
        EXPECT_EQ(object.ExecuteAssignments(5, 7), -77);
        ASSERT_EQ(host.baseCalls.size(), 1u);
        EXPECT_EQ(host.baseCalls[0].kind, BaseCall::ExecuteAssignments);
        EXPECT_EQ(host.baseCalls[0].a, 5 - s.levels);
        EXPECT_EQ(host.baseCalls[0].b, 7);

        host.baseCalls.clear();
        host.config.setUpEquationsResult = 5;
        host.config.localEqnCountOffset = 100;
        EXPECT_EQ(object.SetUpEquations(), 5 + 100 * s.levels);
        std::vector<int> counts, expected;
        for (const auto& c : host.baseCalls)
            if (c.kind == BaseCall::SetLocalEqnCount) counts.push_back(c.a);
        for (int level = 0; level < s.levels; ++level) expected.push_back(5 + 100 * level);
        EXPECT_EQ(counts, expected);
        EXPECT_EQ(CountCalls(BaseCall::SetUpEquations), 1);

        host.baseCalls.clear();
        host.config.setUpEquationsResult = -1;
        EXPECT_EQ(object.SetUpEquations(), -1);
        EXPECT_EQ(CountCalls(BaseCall::SetLocalEqnCount), 0);

        host.baseCalls.clear();
        host.config.jacPatternResult = 314;
        int rowsArray[1] = {-9};
        int colsArray[1] = {-9};
        int* rows = rowsArray;
        int* cols = colsArray;
        EXPECT_EQ(object.JacPattern(rows, cols, nullptr), 314);
        EXPECT_EQ(rows, rowsArray);
        EXPECT_EQ(cols, colsArray);
        EXPECT_EQ(rowsArray[0], -9);
        EXPECT_EQ(CountCalls(BaseCall::ResetExpressions), s.levels);
        EXPECT_EQ(CountCalls(BaseCall::JacPattern), 1);

        host.baseCalls.clear();
        object.SetDims();
        ASSERT_EQ(host.baseCalls.size(), 1u);
        EXPECT_EQ(host.baseCalls[0].kind, BaseCall::SetDims);
        EXPECT_EQ(host.baseCalls[0].object, asContainer);

        host.config.residualsResult = 17;
        double values[2] = {1.5, 2.5};
        EXPECT_EQ(object.Residuals(values, 0, 2), 0);
        EXPECT_EQ(object.Jacobian(values, 1, 1), 0);
        EXPECT_EQ(object.Residuals(nullptr, -1, 99), 0);
        EXPECT_EQ(object.Jacobian(nullptr, 0, 0), 0);
        EXPECT_EQ(values[0], 1.5);
        EXPECT_EQ(values[1], 2.5);
        host.config = qtvhost::HostConfig();
    }
    EXPECT_TRUE(host.incidence.empty());
    EXPECT_TRUE(host.expressions.empty());
}

// Each level keeps its words: set by a good host count, left alone by a
// negative one; every pattern count reset by JacPattern.
TEST_F(Frame, EveryLevelsWordsFollowTheHostResults) {
    auto inst = Make("CONNECTION");
    auto* self = static_cast<ZR_CONNECTION*>(inst.get());
    const std::vector<ZR_Bookkeeping*> books = {&self->Book, &static_cast<ZR_GENERICCONNECTION*>(self)->Book};
    for (ZR_Bookkeeping* book : books) {
        book->GroupNumber = 7;
        book->LocalEquationCount = 9;
        book->PatternEntryCount = 5;
    }
    ZR_ModelType::m_stLastGroup = 41;
    host.config.localEqnCountOffset = 100;
    host.config.setUpEquationsResult = -1;
    EXPECT_EQ(inst->SetUpEquations(), -1);
    for (ZR_Bookkeeping* book : books) {
        EXPECT_EQ(book->GroupNumber, 7);
        EXPECT_EQ(book->LocalEquationCount, 9);
    }
    host.config.setUpEquationsResult = 5;
    EXPECT_EQ(inst->SetUpEquations(), 205);
    host.config.jacPatternResult = 314;
    int* rows = nullptr;
    int* cols = nullptr;
    EXPECT_EQ(inst->JacPattern(rows, cols, nullptr), 314);
    for (ZR_Bookkeeping* book : books) {
        EXPECT_EQ(book->GroupNumber, 41);
        EXPECT_EQ(book->LocalEquationCount, 0);
        EXPECT_EQ(book->PatternEntryCount, 0);
    }
    EXPECT_TRUE(host.incidence.empty());
}

// Through each factory: distinct instances of one reference each, every block
// back when they go, and nothing built or registered when the heap refuses.
TEST_F(Frame, FactoriesBuildAndReturnEveryBlock) {
    using Factory = ZR_ModelType* (*)();
    for (const std::string& type : InstantiableTypes()) {
        SCOPED_TRACE(type);
        const auto before = host.Heap();
        ZR_ModelType* a = Library().Create(type);
        ZR_ModelType* b = Library().Create(type);
        EXPECT_NE(a, b);
        EXPECT_EQ(a->RefCount(), 1u);
        EXPECT_EQ(b->RefCount(), 1u);
        EXPECT_GT(host.Heap().liveBlocks, before.liveBlocks);
        a->AddRef();
        EXPECT_EQ(a->Release(), 1u);
        EXPECT_EQ(a->Release(), 0u);
        EXPECT_EQ(b->Release(), 0u);
        EXPECT_EQ(host.Heap().liveBlocks, before.liveBlocks);
        EXPECT_EQ(host.Heap().liveBytes, before.liveBytes);

        auto factory = reinterpret_cast<Factory>(Library().Symbol(type + "Factory"));
        ASSERT_NE(factory, nullptr);
        host.registrations.clear();
        host.FailAllocationsAfter(0);
        EXPECT_EQ(factory(), nullptr);
        host.FailAllocationsAfter(-1);
        EXPECT_TRUE(host.registrations.empty());
        EXPECT_EQ(host.Heap().liveBlocks, before.liveBlocks);
        EXPECT_EQ(host.Heap().refused, before.refused + 1);
    }
}

// The exported words of every type: a property-info word of its own, stable and
// zero; the compatibility record; a Jacobian record of 22 signed bytes and 32
// unsigned, told apart from every other type's.
TEST_F(Frame, ExportedDataOfEveryType) {
    using Info = std::int32_t* (*)();
    std::set<const std::int32_t*> words;
    std::set<std::vector<std::int32_t>> distinct;
    for (const std::string& type : InstantiableTypes()) {
        SCOPED_TRACE(type);
        auto info = reinterpret_cast<Info>(Library().Symbol(type + "PropertyInfo"));
        ASSERT_NE(info, nullptr);
        std::int32_t* word = info();
        EXPECT_EQ(word, info());
        EXPECT_EQ(*word, 0);
        words.insert(word);
        const auto* compat = Data<std::int32_t>("_Compatibility" + type);
        ASSERT_NE(compat, nullptr);
        EXPECT_EQ(compat[0], 6);
        EXPECT_EQ(compat[1], 0);
        const auto* jac = Data<std::int32_t>("_JacData" + type);
        ASSERT_NE(jac, nullptr);
        EXPECT_EQ(jac[0], 22);
        for (int i = 1; i <= 22; ++i) EXPECT_TRUE(jac[i] >= -128 && jac[i] <= 127) << i;
        for (int i = 23; i < 55; ++i) EXPECT_TRUE(jac[i] >= 0 && jac[i] <= 255) << i;
        distinct.insert(std::vector<std::int32_t>(jac, jac + 55));
    }
    EXPECT_EQ(words.size(), InstantiableTypes().size());
    EXPECT_EQ(distinct.size(), InstantiableTypes().size());
}
