// The instrument's user settings and the messages that carry them: the flyer name ("F"),
// the parameters ("P") and the option displays ("O"). Pure functions, QtCore only.
//
// The parameter and option messages are in the instrument's character form: every character
// is one of '0' to '?' (0x30 to 0x3F) and stands for a 4-bit value. They are assembled from
// digits, the flags '0' and '1', and fragments of stored templates already in that form;
// nothing is converted into it at run time.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>

struct ParameterSettings {
    float rise = 0.1f;   ///< climb tone threshold, m/s (0.1 to 4.0)
    float sink = 0.1f;   ///< sink tone threshold, m/s (0.1 to 4.0)
    bool autoSet = false;
    bool takeOff = false; ///< automatic take-off
    int sound = 0;        ///< voice response: 0 to 4 ("４０" ... "１００")
    int barGraph = 0;     ///< bar-graph response, same choices
    int numeric = 0;      ///< numeric display response, same choices
    int sampling = 2;     ///< 0 = 1 s, 1 = 2 s, 2 = 4 s
    int printer = 0;      ///< 0 DPU-201, 1 DPU-411

    friend bool operator==(const ParameterSettings &, const ParameterSettings &) = default;
};

struct OptionSettings {
    int option1 = 0; ///< option display 1: 0 maximum altitude, 1 wind speed, 2 ALT2, 3 ALT3
    // Option display 2, in the order the dialog shows them.
    bool barometer = false;
    bool thermo = false;
    bool maxAlt = false;
    bool alt2 = false;
    bool alt3 = false;
    bool windV = false;

    /// The items of option display 2 that are checked.
    int checkedCount() const;
    friend bool operator==(const OptionSettings &, const OptionSettings &) = default;
};

namespace instrument {

inline constexpr int kFlyerNameBytes = 16;
inline constexpr int kParameterChars = 37;
inline constexpr int kOptionChars = 80;
inline constexpr int kChoices = 5;        ///< the response choices
inline constexpr int kSamplingChoices = 3;
inline constexpr int kOption1Choices = 4;
inline constexpr int kMaxOptionItems = 4; ///< option display 2 has room for four items
inline constexpr float kMinThreshold = 0.1f;
inline constexpr float kMaxThreshold = 4.0f;

/// The stored name cut to what the instrument takes: at most 16 bytes, never half a
/// double-byte character.
QByteArray fittedFlyerName(QByteArrayView name);
/// "F"'s 16 bytes: the name (fittedFlyerName) padded with blanks.
QByteArray flyerNameMessage(QByteArrayView name);

/// A threshold as the dialog shows and sends it: "%1.1f".
QByteArray thresholdText(float value);
/// True for 0.1 to 4.0 as the one-decimal text gives them (what is sent is that text).
bool isThresholdInRange(float value);
/// Every index in its range and both thresholds in range: the message can be built.
bool isValid(const ParameterSettings &settings);
/// "P"'s 37 characters.
QByteArray parameterMessage(const ParameterSettings &settings);

/// More than four items of option display 2 can only come from edited settings: the first
/// four in the dialog's order stay checked.
OptionSettings limitedToFour(OptionSettings settings);
bool isValid(const OptionSettings &settings);
/// "O"'s 80 characters.
QByteArray optionMessage(const OptionSettings &settings);

} // namespace instrument
