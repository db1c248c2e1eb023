// Numerical constants of the gear geometry, written once with the digits the results depend on.
#pragma once

namespace kellvor {

// Normal pressure angle of the basic rack, 20 degrees in radians.
inline constexpr double kAlphan = 0.3490658503988659;
// Dedendum of the basic rack as a multiple of the normal module.
inline constexpr double kDedendumFactor = 1.25;
// Pi to double precision.
inline constexpr double kPi = 3.141592653589793;
// Half of pi, the half-tooth term of the tooth thickness.
inline constexpr double kHalfPi = 1.5707963267948966;
// Degrees to radians.
inline constexpr double kDegToRad = 0.017453292519943295;
// Radians to degrees.
inline constexpr double kRadToDeg = 57.29577951308232;
// 1 / (2 pi), for the transverse contact ratio.
inline constexpr double kInvTwoPi = 0.15915494309189535;
// Exponent of the iteration's start value (a cube root of 3 inv(alpha)).
inline constexpr double kStartExponent = 0.3333333333333333;
// Largest number of Newton updates.
inline constexpr int kIterationCap = 1000;
// Tip radius of the generating rack as a multiple of the normal module.
inline constexpr double kToolTipRadiusFactor = 0.38;
// Usable involute allowance above the root diameter, times the transverse module.
inline constexpr double kUsableInvoluteAllowance = 0.4;
// Largest number of straight elements per flank: 500 points per flank, 1000 per tooth.
inline constexpr int kMaxSegmentCount = 499;

}  // namespace kellvor
