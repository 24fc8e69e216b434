// The owner of one handle: every handle it takes is released exactly once,
// whichever way it leaves (scope end, reset, move, release), and its "none"
// is never released. Run for a null "none" and for the -1 of file and search
// handles, each of which is a valid handle for the other.
#include "system/unique_owner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>
#include <vector>

namespace kn {
namespace {

std::vector<int> released;
void Release(int handle) { released.push_back(handle); }

using NullNone = UniqueOwner<int, &Release>;
using MinusOneNone = UniqueOwner<int, &Release, -1>;

template <typename Owner>
class UniqueOwnerTest : public testing::Test {
 protected:
  void SetUp() override { released.clear(); }
  // A handle that is valid for this owner although it is the other's "none".
  static int OtherNone() { return Owner::none() == 0 ? -1 : 0; }
};

using Owners = testing::Types<NullNone, MinusOneNone>;
TYPED_TEST_SUITE(UniqueOwnerTest, Owners);

TYPED_TEST(UniqueOwnerTest, HoldsNothingUntilGivenAHandle) {
  {
    const TypeParam empty;
    EXPECT_FALSE(empty);
    EXPECT_EQ(empty.get(), TypeParam::none());
    const TypeParam given(TypeParam::none());
    EXPECT_FALSE(given);
  }
  EXPECT_TRUE(released.empty()) << "the value meaning none was released";
}

TYPED_TEST(UniqueOwnerTest, ReleasesWhatItHoldsOnceAtScopeEnd) {
  const int other = this->OtherNone();
  {
    const TypeParam first(7);
    const TypeParam second(other);
    EXPECT_TRUE(first);
    EXPECT_TRUE(second) << other << " is a handle for this owner";
    EXPECT_TRUE(released.empty());
  }
  EXPECT_EQ(released, (std::vector<int>{other, 7}));
}

TYPED_TEST(UniqueOwnerTest, MovingHandsTheHandleOverWithoutReleasingIt) {
  {
    TypeParam source(7);
    TypeParam moved(std::move(source));
    EXPECT_FALSE(source);
    EXPECT_EQ(moved.get(), 7);
    EXPECT_TRUE(released.empty());

    TypeParam target(8);
    target = std::move(moved);
    EXPECT_EQ(released, std::vector<int>{8}) << "the handle overwritten by the move";
    EXPECT_FALSE(moved);
    EXPECT_EQ(target.get(), 7);

    TypeParam& alias = target;
    target = std::move(alias);
    EXPECT_EQ(target.get(), 7) << "a move onto itself keeps the handle";
    EXPECT_EQ(released, std::vector<int>{8});
  }
  EXPECT_EQ(released, (std::vector<int>{8, 7}));
}

TYPED_TEST(UniqueOwnerTest, ResetReleasesTheOldHandleButNeverTheOneKept) {
  {
    TypeParam owner(7);
    owner.reset(7);
    EXPECT_TRUE(released.empty()) << "a handle still in use was released";
    owner.reset(8);
    EXPECT_EQ(released, std::vector<int>{7});
    owner.reset();
    EXPECT_FALSE(owner);
    EXPECT_EQ(released, (std::vector<int>{7, 8}));
    owner.reset();
    owner.reset(9);
  }
  EXPECT_EQ(released, (std::vector<int>{7, 8, 9}));
}

TYPED_TEST(UniqueOwnerTest, ReleaseHandsTheHandleOnAndForgetsIt) {
  {
    TypeParam owner(7);
    EXPECT_EQ(owner.release(), 7);
    EXPECT_FALSE(owner);
    EXPECT_EQ(owner.release(), TypeParam::none());
  }
  EXPECT_TRUE(released.empty()) << "a handle handed on was released";
}

TYPED_TEST(UniqueOwnerTest, CannotBeCopied) {
  static_assert(!std::is_copy_constructible_v<TypeParam> && !std::is_copy_assignable_v<TypeParam>);
  static_assert(std::is_nothrow_move_constructible_v<TypeParam> &&
                std::is_nothrow_move_assignable_v<TypeParam>);
  static_assert(!std::is_convertible_v<TypeParam, bool>, "only an explicit test for a handle");
}

// Pointer handles whose "none" is not null, as INVALID_HANDLE_VALUE: null is
// a handle, all bits set is none.
struct Object {};
std::vector<Object*> releasedObjects;
void ReleaseObject(Object* object) { releasedObjects.push_back(object); }

TEST(UniqueOwnerOfPointers, TakesAnIntegerForANoneThatIsNotNull) {
  using Owner = UniqueOwner<Object*, &ReleaseObject, std::intptr_t{-1}>;
  releasedObjects.clear();
  Object object;
  {
    EXPECT_EQ(Owner::none(), reinterpret_cast<Object*>(std::intptr_t{-1}));
    const Owner empty;
    EXPECT_FALSE(empty);
    const Owner held(&object);
    const Owner null(nullptr);
    EXPECT_TRUE(null);
  }
  EXPECT_EQ(releasedObjects, (std::vector<Object*>{nullptr, &object}));
}

}  // namespace
}  // namespace kn
