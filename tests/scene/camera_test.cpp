#include "scene/Camera.h"
#include <gtest/gtest.h>

TEST(Camera, OrbitByNinetyDegreesSwingsTheEyeCounterClockwise) {
    Camera c;
    c.place(0.5f, -1.5f, 0.9f, 0.5f, 0.5f, 0.7f, 0, 0, 1);
    c.orbit(90, 0.5f, 0.5f, 2.0f);
    EXPECT_NEAR(c.position.x, 2.5f, 1e-5);
    EXPECT_NEAR(c.position.y, 0.5f, 1e-5);
    EXPECT_FLOAT_EQ(c.position.z, 0.9f);
    Vector3 d = c.viewDirection();
    EXPECT_LT(d.x, 0) << "looks toward -x";
    EXPECT_NEAR(d.y, 0, 1e-5);
    // strafe = normalise(cross(direction, up)) points to the camera's right: +y here.
    EXPECT_NEAR(c.strafe.y, 1, 1e-5);
}

TEST(Camera, OrbitByZeroOnlyResetsTheDistance) {
    Camera c;
    c.place(3, -1, 0.9f, 3, 1, 0.7f, 0, 0, 1);
    c.orbit(0, 3, 1, 2);
    EXPECT_NEAR(c.position.x, 3, 1e-6);
    EXPECT_NEAR(c.position.y, -1, 1e-6);
    c.orbit(0, 3, 0, 2);
    EXPECT_NEAR(c.position.y, -2, 1e-6);
    EXPECT_FLOAT_EQ(c.view.z, 0.7f);
}

TEST(Camera, OrbitByHalfTurnLooksBack) {
    Camera c;
    c.place(0.5f, -1.5f, 0.9f, 0.5f, 0.5f, 0.7f, 0, 0, 1);
    c.orbit(180, 0.5f, 0.5f, 2);
    EXPECT_NEAR(c.position.y, 2.5f, 1e-5);
    EXPECT_LT(c.viewDirection().y, 0);
}

TEST(Camera, TranslateKeepsStrafeAndHeights) {
    Camera c;
    c.place(0.5f, -1.5f, 0.9f, 0.5f, 0.5f, 0.7f, 0, 0, 1);
    Vector3 s = c.strafe;
    c.translate(0.25f, -0.5f);
    EXPECT_FLOAT_EQ(c.position.x, 0.75f);
    EXPECT_FLOAT_EQ(c.view.y, 0.0f);
    EXPECT_FLOAT_EQ(c.position.z, 0.9f);
    EXPECT_FLOAT_EQ(c.view.z, 0.7f);
    EXPECT_EQ(c.strafe.x, s.x);
    EXPECT_EQ(c.strafe.y, s.y);
    EXPECT_EQ(c.strafe.z, s.z);
}
