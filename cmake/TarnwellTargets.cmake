# Sources are gathered per folder so that each concern can grow by adding a
# file next to its neighbours; CONFIGURE_DEPENDS makes the build notice new ones.
function(tarnwell_sources out)
    set(found)
    foreach(dir IN LISTS ARGN)
        if(NOT IS_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}/${dir}")
            message(FATAL_ERROR "No source folder ${CMAKE_CURRENT_SOURCE_DIR}/${dir}")
        endif()
        file(GLOB_RECURSE these CONFIGURE_DEPENDS
             "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp")
        list(APPEND found ${these})
    endforeach()
    set(${out} ${found} PARENT_SCOPE)
endfunction()

# One GoogleTest executable per test folder; every *.cpp in the folder joins it.
# Tests run with the folder's fixtures reachable through TARNWELL_FIXTURES.
function(tarnwell_test_folder name)
    cmake_parse_arguments(T "" "" "LINKS" ${ARGN})
    file(GLOB_RECURSE these CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp")
    if(NOT these)
        return()
    endif()
    set(target test_${name})
    string(REPLACE "/" "_" target "${target}")
    add_executable(${target} ${these})
    target_link_libraries(${target} PRIVATE ${T_LINKS} GTest::gtest_main GTest::gmock)
    target_include_directories(${target} PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}")
    target_compile_definitions(${target} PRIVATE
        TARNWELL_FIXTURES="${CMAKE_CURRENT_SOURCE_DIR}/fixtures"
        TARNWELL_BINARY_DIR="${CMAKE_BINARY_DIR}"
        TARNWELL_TEST_LOCPATH="${TARNWELL_TEST_LOCPATH}")
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
        # gtest_discover_tests splits a list-valued property into property
        # names, so ENVIRONMENT holds one variable (leak detection is on by
        # default in AddressSanitizer on Linux).
        PROPERTIES ENVIRONMENT "UBSAN_OPTIONS=print_stacktrace=1" FIXTURES_REQUIRED comma_locale)
endfunction()
