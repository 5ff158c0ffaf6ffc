# The settings file: the profile format on bytes, and the file layer.
list(APPEND runtime_core_sources
    ${CMAKE_CURRENT_LIST_DIR}/settings/profile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings/file_system.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings/settings_file.cpp)
