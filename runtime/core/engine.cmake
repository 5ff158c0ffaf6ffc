list(APPEND runtime_core_sources
    ${CMAKE_CURRENT_LIST_DIR}/contract/commands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/args.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/engine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/kernel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/library.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/model.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/program.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/program_block.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/properties.cpp)
