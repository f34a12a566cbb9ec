/*
 * A private bench for each test of the simulated parts. No bench file is written at first, so
 * the defaults a missing file gives are what a test meets until it writes one. The folder's
 * name has no blank: the programmer's batch line names its report there unquoted.
 */
#pragma once

#include "tests/support/TestBench.h"

#include <gtest/gtest.h>

class BenchFixture : public ::testing::Test {
protected:
    TestBench Bench{std::nullopt, "kv7sim"};
};
