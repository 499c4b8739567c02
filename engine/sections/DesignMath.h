#pragma once

// The elementary functions of the filter designs, in code of our own: every
// platform's build then designs the very same coefficients from the same
// settings, where each C runtime's pow, exp, tan and atan differ in the last
// bit now and then.
//
// Each result lies within one unit in the last place of the exactly rounded
// value: Exp over its whole range; PowerOfTen for |x| <= 300; Tan for
// |x| <= 2^19; Atan everywhere. The float forms round the double result, so
// they too are within one float ulp of the exactly rounded float. Designs run
// once per block, so the code favours accuracy over speed.
namespace design
{
double Exp(double x);
// 10^x, the designs' pow(10, x).
double PowerOfTen(double x);
double Tan(double x);
double Atan(double x);

float Tan(float x);
float Atan(float x);
// x^(1/4) for x >= 0.
float FourthRoot(float x);
}  // namespace design
