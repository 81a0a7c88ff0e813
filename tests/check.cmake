# The check library alone: linked without tacconf, as the editor would link it.
tav_add_test(check-tests
    PREFIX check.
    SOURCES check-test.cc
    LIBS tavcheck)
