// The RAII owners close each handle exactly once, move ownership, and restore what they replaced.

#include "base/win/unique_handle.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace lumetra::win {
namespace {

// A handle type whose closes are recorded.
std::vector<int>& closed() {
    static std::vector<int> list;
    return list;
}

void recordClose(int h) noexcept {
    closed().push_back(h);
}
int minusOne() noexcept {
    return -1;
}

using CountingHandle = UniqueHandle<int, &recordClose, &minusOne>;

class UniqueHandleTest : public ::testing::Test {
  protected:
    void SetUp() override { closed().clear(); }
};

TEST_F(UniqueHandleTest, ClosesOnceAtScopeEndAndNeverTheInvalidValue) {
    {
        CountingHandle empty;
        EXPECT_FALSE(empty);
        CountingHandle owned(7);
        EXPECT_TRUE(owned);
        EXPECT_EQ(owned.get(), 7);
    }
    EXPECT_EQ(closed(), std::vector<int>{7});
}

TEST_F(UniqueHandleTest, MoveTransfersOwnershipAndAssignmentClosesTheOldHandle) {
    CountingHandle a(1);
    CountingHandle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), 1);
    CountingHandle c(2);
    c = std::move(b);
    EXPECT_EQ(closed(), std::vector<int>{2});
    EXPECT_EQ(c.get(), 1);
    c = std::move(c);  // self-move keeps the handle
    EXPECT_EQ(c.get(), 1);
    EXPECT_EQ(closed(), std::vector<int>{2});
}

TEST_F(UniqueHandleTest, ReleaseGivesUpWithoutClosingResetAndPutClose) {
    CountingHandle a(3);
    EXPECT_EQ(a.release(), 3);
    EXPECT_FALSE(a);
    a.reset(4);
    a.reset(5);
    EXPECT_EQ(closed(), std::vector<int>{4});
    int* out = a.put();
    EXPECT_EQ(closed(), (std::vector<int>{4, 5}));
    *out = 6;
    EXPECT_EQ(a.get(), 6);
}

TEST(GdiOwners, DeleteTheirObjectsAndPutBackWhatTheyReplaced) {
    HBRUSH rawBrush = CreateSolidBrush(RGB(1, 2, 3));
    HDC rawDc = CreateCompatibleDC(nullptr);
    {
        UniqueBrush brush(rawBrush);
        UniqueMemoryDc dc(rawDc);
        UniquePen pen(CreatePen(PS_SOLID, 1, RGB(9, 9, 9)));
        const HGDIOBJ penBefore = GetCurrentObject(dc.get(), OBJ_PEN);
        const int ropBefore = GetROP2(dc.get());
        {
            auto select = selectObject(dc.get(), pen.get());
            auto rop = setRasterMode(dc.get(), R2_NOTXORPEN);
            EXPECT_TRUE(select);
            EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
            EXPECT_EQ(GetROP2(dc.get()), R2_NOTXORPEN);
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), penBefore);
        EXPECT_EQ(GetROP2(dc.get()), ropBefore);
        EXPECT_EQ(GetObjectType(rawDc), DWORD(OBJ_MEMDC));
    }
    EXPECT_EQ(GetObjectType(rawBrush), 0u);
    EXPECT_EQ(GetObjectType(rawDc), 0u);

    // A window's DC goes back to its window; a failed one owns nothing.
    auto screen = windowDc(nullptr);
    ASSERT_TRUE(screen);
    EXPECT_EQ(GetObjectType(screen.get()), DWORD(OBJ_DC));
    EXPECT_FALSE(windowDc(reinterpret_cast<HWND>(INT_PTR{0x7FFF0})));  // no such window
}

TEST(KernelOwners, FileHandleUsesInvalidHandleValueForNone) {
    UniqueFile none;
    EXPECT_FALSE(none);
    EXPECT_EQ(none.get(), INVALID_HANDLE_VALUE);
    UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    HANDLE raw = event.get();
    event.reset();
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags));
}

// A COM object that counts its references.
class CountedUnknown : public IUnknown {
  public:
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(ComOwner, ReleasesOnceAndMovesOwnership) {
    CountedUnknown object;
    {
        ComPtr<IUnknown> a(&object);
        ComPtr<IUnknown> b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(object.refs, 1u);
    }
    EXPECT_EQ(object.refs, 0u);
    object.refs = 1;
    ComPtr<IUnknown> c(&object);
    IUnknown** slot = c.put();  // releases the held pointer first
    EXPECT_EQ(object.refs, 0u);
    EXPECT_EQ(*slot, nullptr);
}

}  // namespace
}  // namespace lumetra::win
