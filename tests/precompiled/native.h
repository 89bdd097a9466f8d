// Headers that nearly every native test program includes, compiled once per tree and reused
// by all of them: parsing GoogleTest and the standard library took most of each test
// file's compile time.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>
