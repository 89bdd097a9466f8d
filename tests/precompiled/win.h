// Headers that nearly every Windows test program includes, compiled once per tree and reused
// by all of them: parsing <windows.h>, GoogleTest and the standard library took most of each
// test file's compile time.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>
