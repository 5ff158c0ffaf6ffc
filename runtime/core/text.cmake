# GBK text: the conversions are portable; only the code page tables differ.
list(APPEND runtime_core_sources
    ${CMAKE_CURRENT_LIST_DIR}/text/gbk.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text/utf.cpp)
if(WIN32)
    list(APPEND runtime_core_sources ${CMAKE_CURRENT_LIST_DIR}/text/cp936_win32.cpp)
else()
    list(APPEND runtime_core_sources ${CMAKE_CURRENT_LIST_DIR}/text/cp936_iconv.cpp)
endif()
