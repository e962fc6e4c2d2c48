// One table for porting-layer calls whose effect is left to this layer: each stores a value
// under a (group, key) pair and returns the value it replaced (0 when there was none).
#pragma once

long PortSettingExchange(long group, long key, long value);
long PortSettingGet(long group, long key, long fallback = 0);
void PortSettingsClear();
