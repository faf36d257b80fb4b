#pragma once

#include "convert/Sampling.h"

#include <QtGlobal>

// Geometry and rules of the two-knob level slider, in twips. The track is 2115 x 240 twips
// outside and, inside its 2-pixel border, SW = 2055 twips wide; both knobs are 180 twips wide.
// Knob positions are single precision, as the slider has always computed them. The widget, the
// settings file's Low/High, the CLI and the tests all go through this one model.
class SliderModel {
public:
    static constexpr float TrackInnerWidth = 2055.0f;
    static constexpr float KnobWidth = 180.0f;

    SliderModel() { SliderInit(); }

    float SW() const { return TrackInnerWidth; }
    float W0() const { return KnobWidth; }
    float W1() const { return KnobWidth; }
    float left(int index) const { return index == 0 ? m_left0 : m_left1; }

    // Twips per grey level: (SW - W0 - W1) / 256.
    static double LevelUnit() {
        return (static_cast<double>(TrackInnerWidth) - KnobWidth - KnobWidth) / 256.0;
    }

    // Knobs at the two ends: low at 0, high one twip short of the track's end.
    void SliderInit();
    // Moves knob index so that it sits where the mouse is (movePosX in the knob's own
    // coordinates, grabX where the knob was grabbed), pushing the other knob when needed.
    void SliderMove(int index, float movePosX, qint16 grabX);
    // Places a knob at a stored position, subject to the rules of SliderMove.
    void placeKnob(int index, float position);
    // Places both knobs at stored Low/High positions when Low is 0 or more (-1: never set).
    void placeStored(qint16 low, qint16 high);

    // The stored form of the knob positions (CtrlToSet): nearest twip.
    qint16 storedLow() const;
    qint16 storedHigh() const;

    // Grey levels from knob positions as the converters derive them.
    static LevelPair levelPair(qint16 low, qint16 high);

    // The two value boxes' texts (whole percentages).
    QString lowText() const;
    QString highText() const;

private:
    float m_left0 = 0;
    float m_left1 = 0;
};
