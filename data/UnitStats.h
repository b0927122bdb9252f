#pragma once
// UStats.cfg: the scalar values of the seven unit types.
void LoadUnitStats();
