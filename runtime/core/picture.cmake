list(APPEND runtime_core_sources
    ${CMAKE_CURRENT_LIST_DIR}/picture/bitmap.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picture/decode.cpp)
