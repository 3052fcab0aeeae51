// Results of the scene file's chunk reading and writing.
#pragma once

enum IOResult { IO_OK = 0, IO_END = 1, IO_ERROR = 2 };

class ISave;
class ILoad;
