#pragma once
#include <cstddef>
// UStats.cfg: the scalar values of the seven unit types, one 27-byte record
// from each "<" on; the n-th record fills unitTypes[n] (all but anim).
constexpr size_t kUnitStatsBufferSize = 5000;
void LoadUnitStats();
