// Function names of a Windows trace file come from the linker's map file.
#include <gtest/gtest.h>

#include "base/symbol_map.h"

namespace morvel {
namespace {

// The shape GNU ld writes for a PE image: section lines with a size and an object
// file, symbol lines with an address and a name, assignments and input patterns.
constexpr char kMap[] = R"(Archive member included to satisfy reference by file (symbol)

Memory Configuration
 *(.text)
 .text          0x0000000140001000      0x4a0 CMakeFiles/morvel.dir/main.cpp.obj
                0x0000000140001000                main
                0x0000000140001200                _ZN6morvel12TWorkManager3RunEv
 .text          0x00000001400014a0       0x30 libmorvel_base.a(error.cpp.obj)
                0x00000001400014a0                _ZN6morvel12EMorvelErrorC2ERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE
                0x0000000140000000                __image_base__ = 0x140000000
                0x0000000000001000                __section_alignment__ = 0x1000
)";

TEST(SymbolMap, AnOffsetIsNamedByTheFunctionThatHoldsIt) {
  const TSymbolMap map = TSymbolMap::Parse(kMap);
  ASSERT_FALSE(map.Empty());
  EXPECT_EQ(map.NameAt(0x1000), "main");
  EXPECT_EQ(map.NameAt(0x11ff), "main");
  EXPECT_EQ(map.NameAt(0x1234), "morvel::TWorkManager::Run()");
  EXPECT_EQ(map.NameAt(0x14a8), "morvel::EMorvelError::EMorvelError(std::__cxx11::basic_string<char, "
                                "std::char_traits<char>, std::allocator<char> > const&)");
  EXPECT_EQ(map.NameAt(0xfff), "");
  EXPECT_TRUE(TSymbolMap::Parse("no map at all\n\n0xzz x\n").Empty());
}

}  // namespace
}  // namespace morvel
