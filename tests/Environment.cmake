# Read by ctest before it lists or runs a test: what runs must not depend on the caller's
# environment. GoogleTest reads a filter, shards, repeats and more from these (Wine passes them
# on too); a shard of a one-test run would run nothing and pass.
foreach(name IN ITEMS GTEST_FILTER GTEST_ALSO_RUN_DISABLED_TESTS GTEST_REPEAT GTEST_SHUFFLE
    GTEST_RANDOM_SEED GTEST_TOTAL_SHARDS GTEST_SHARD_INDEX GTEST_SHARD_STATUS_FILE
    GTEST_BREAK_ON_FAILURE GTEST_FAIL_FAST GTEST_OUTPUT GTEST_BRIEF GTEST_PRINT_TIME
    GTEST_DEATH_TEST_STYLE GTEST_CATCH_EXCEPTIONS TESTBRIDGE_TEST_ONLY XML_OUTPUT_FILE)
  unset(ENV{${name}})
endforeach()
