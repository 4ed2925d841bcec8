#pragma once
// The Interface selectors of the user's input in the plan window: point, line and polygon input ('IPOI',
// 'ILIN', 'IPOL'), their element-kind filters ('INFI', 'SNFI') and rubber lines ('DRLI').
class HostFunctionSet;

void InstallInputCalls(HostFunctionSet& set);
