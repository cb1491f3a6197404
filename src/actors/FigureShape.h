#pragma once

// Dimensions of the animal figure shared by players and creatures. The derived values are
// computed in declaration order from those already set, so changing bodyRadius, headRadius or
// bodyLift rescales the whole figure consistently.
struct FigureShape {
    float headRadius = 0.23f;
    float footRadius = 0.1f;
    float footSwingMax = 0.01f;
    float footSwingMin = -0.13f;
    float footSwingStep = 0.01f;
    float footSwing = -0.06f;
    float footSpread = 0.17f;
    float bodyLift = 0;
    float handRadius = 0.06f;
    float handSpread = 0.2f;
    float handForward = 0;
    float handHeight = 0;
    float noseRadius = 0.02f;
    float noseLength = 0.05f;
    float noseHeight = 0;
    float noseForward = 0;
    float earRadius = 0.09f;
    float earTipRadius = 0.04f;
    float earLength = 0.05f;
    float earHeight = 0;
    float earSpread = 0.18f;
    float earBack = 0.02f;
    float earTilt = -100;
    float eyeRadius = 0.022f;
    float eyeHeight = 0;
    float eyeSpread = 0.07f;
    float eyeForward = 0;
    float whiskerRadius = 0.007f;
    float whiskerLength = 0.1f;
    float whiskerAngleUpper = 80;
    float whiskerAngleLower = 110;
    float whiskerHeightUpper = 0;
    float whiskerHeightLower = 0;
    float whiskerSpread = 0.08f;
    float whiskerForward = 0;
    float tailRadius = 0.02f;
    float tailLength = 0.1f;
    float tailBack = 0;
    float tailHeight = 0;

    void derive(float bodyRadius) {
        const float r = bodyRadius, h = headRadius, e = bodyLift;
        handForward = 0.1f - h;
        handHeight = 2 * r + e - 0.22f;
        noseHeight = 2 * r + e - 0.1f;
        noseForward = -h;
        earHeight = 2 * r + h + e - 0.05f;
        eyeHeight = 2 * r + e - 0.04f;
        eyeForward = -h + eyeRadius - 0.01f;
        whiskerHeightUpper = 2 * r + e - 0.09f;
        whiskerHeightLower = 2 * r + e - 0.11f;
        whiskerForward = -h - 0.001f;
        tailBack = r - 0.05f;
        tailHeight = e + 0.12f;
    }

    // One draw's foot swing: the sign of the step flips at each bound.
    void swingFeet() {
        footSwing += footSwingStep;
        if (footSwing > footSwingMax) {
            footSwingStep = -footSwingStep;
            footSwing = footSwingMax + footSwingStep;
        } else if (footSwing < footSwingMin) {
            footSwingStep = -footSwingStep;
            footSwing = footSwingMin + footSwingStep;
        }
    }
};

// Model heading in degrees from a ground-plane direction; both zero keeps the old heading.
float headingFromDirection(float dirX, float dirY, float previous);
