# Warnings are kept at zero in every build.
option(VORN_WERROR "Treat compiler warnings as errors" ON)

function(vorn_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(VORN_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# A portable library of ours: C++20, warnings, includes from the repository root.
function(vorn_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    vorn_warnings(${name})
endfunction()

# One native test executable per module, each its own CTest entry.
function(vorn_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_definitions(${name} PRIVATE VORN_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    vorn_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
endfunction()
