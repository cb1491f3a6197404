#include "render/PartHandOver.h"
#include <gtest/gtest.h>

// Only a software renderer is waited for part by part; a graphics card's driver keeps its pace.
TEST(PartHandOver, SoftwareRenderersAreKnownByTheirNames) {
    EXPECT_TRUE(isSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(isSoftwareRenderer("softpipe"));
    EXPECT_TRUE(isSoftwareRenderer("Mesa X11 Software Rasterizer"));
    EXPECT_FALSE(isSoftwareRenderer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(isSoftwareRenderer("AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)"));
    EXPECT_FALSE(isSoftwareRenderer(nullptr));
}
