// Fixed gain from the exposed scene light to the tone curve's input (Combine.fs): the credits
// scene at its effective exposure 0.053 lands its mid tones near 18 % grey. The bright pass
// sets its threshold in the same units, where the tone-mapped picture approaches white, so the
// glow starts where the composite's highlights do.
const float kGain = 8.0;
