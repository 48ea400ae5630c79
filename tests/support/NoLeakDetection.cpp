// Linked only into tests that open a GL renderer (see tests/CMakeLists.txt).
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=0";
}
