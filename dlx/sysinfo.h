// The struct global QZMsysinfo and its three properties.
#pragma once

void DefineSysInfo();
