# The sanitizer build: with -DZUPFARI_SANITIZE=ON every target of this build
# is compiled and linked with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer, and the first report ends the process. It is
# meant for a build folder of its own (./zupfari test makes build-asan), where
# only the `sanitized` target is built: the engine, the loaders and their tests
# (ctest -L sanitize runs them), and the whole program for the monkey
# (tests/monkey), which runs it over the content of ZUPFARI_CONTENT_BIN_DIR.
option(ZUPFARI_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

# The test programs run in the sanitizer build (see zupfari_add_test).
set(ZUPFARI_SANITIZED_TESTS
  platform_core_tests jpeg_decoder_tests
  smf_tests mxmidi_tests sequenzor_tests
  plan_tests skin_reader_tests skin_loader_tests
  soundcues_tests
  soak_tests)

# Where the soak test finds the generated course content (Midi/): a normal
# build's program folder; the sanitizer build does not generate content.
set(ZUPFARI_CONTENT_BIN_DIR "" CACHE PATH
    "Program folder with generated content for the sanitizer build's tests")

if(ZUPFARI_SANITIZE)
  set(ZUPFARI_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                             -fno-omit-frame-pointer)
  add_compile_options(${ZUPFARI_SANITIZE_FLAGS})
  add_link_options(${ZUPFARI_SANITIZE_FLAGS})
  # The runtime options (halt on the first report, leak check, the
  # suppressions of the system libraries' own leaks) are compiled into the
  # test programs: tests/support/sanitizeroptions.cpp.
endif()

# The leaks of system libraries left alone, one file for the whole build.
set(ZUPFARI_SYSTEM_LEAKS ${CMAKE_CURRENT_LIST_DIR}/system_leaks.supp)
# Prefix for a build step that runs a tool of this build, so that the leaks of
# system libraries at the tool's exit do not fail the step.
set(ZUPFARI_RUN_TOOL "")
if(ZUPFARI_SANITIZE)
  set(ZUPFARI_RUN_TOOL ${CMAKE_COMMAND} -E env LSAN_OPTIONS=suppressions=${ZUPFARI_SYSTEM_LEAKS})
endif()
