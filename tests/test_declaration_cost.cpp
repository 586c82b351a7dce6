// What declaring the equations of a distribution costs the library itself: the
// elements of its arrays are built once, on first use, and a walk after that
// takes no block of the heap, whatever the method.
#include <string>

#include "library.h"

using namespace testing_support;

namespace {

class DeclarationCost : public HostTest {};

long long Elements(ZR_Container& distribution) {
    long long built = 0;
    for (const char* name : {"VALUE", "DDX", "D2DX2", "IDX"}) {
        auto* array = dynamic_cast<ZR_Matrix*>(qtvhost::ResolvePath(distribution, name));
        if (array == nullptr) continue;
        for (int i = 0; i < array->SlotCount(); ++i) built += array->Slot(i) != nullptr;
    }
    return built;
}

}  // namespace

TEST_F(DeclarationCost, AWalkTakesNoHeapBlockOnceTheElementsExist) {
    for (const char* method : {"BFD1", "BFD2", "FFD1", "FFD2", "CFD2", "CFD4", "UBFD4", "OCFE2", "OCFE3", "OCFE4"}) {
        SCOPED_TRACE(method);
        host.Reset();
        auto distribution = Make("DISTRIBUTION1D");
        auto linked = qtvhost::LinkReferences(Library(), *distribution);
        qtvhost::SetParameter(*distribution, "XDOMAIN.DISCRETIZATIONMETHOD", method);
        qtvhost::SetParameter(*distribution, "XDOMAIN.NUMSECTIONS", "2");
        qtvhost::SetParameter(*distribution, "XDOMAIN.SPACINGPREFERENCE", "0.02");
        qtvhost::SetParameter(*distribution, "XDOMAIN.HIGHESTORDERDERIVATIVE", "2");
        qtvhost::SetParameter(*distribution, "HIGHESTORDERXDERIVATIVEUSED", "2");
        qtvhost::SetParameter(*distribution, "INTEGRALS", "idx");
        qtvhost::SettleAssignments(*linked.at(0).instance);
        qtvhost::SettleAssignments(*distribution);
        distribution->SetDims();

        // The first walk builds each element it names, and nothing else.
        const long long before = host.Heap().allocations;
        const int count = distribution->SetUpEquations();
        std::vector<int> rows, cols;
        qtvhost::RunJacPattern(*distribution, 0, rows, cols);
        EXPECT_EQ(host.Heap().allocations - before, Elements(*distribution));
        ASSERT_GT(count, 100);

        // Every later walk takes nothing.
        const std::size_t terms = host.incidenceTerms.size();
        const long long again = host.Heap().allocations;
        EXPECT_EQ(distribution->SetUpEquations(), count);
        std::vector<int> rowsAgain, colsAgain;
        qtvhost::RunJacPattern(*distribution, terms, rowsAgain, colsAgain);
        EXPECT_EQ(host.Heap().allocations, again);
        EXPECT_EQ(rowsAgain.size(), rows.size());
        EXPECT_EQ(colsAgain, cols);
    }
}
