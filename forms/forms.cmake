# Window definitions: the form section's reader, writer and checks, the class
# table and the class-block codec, and the text dump.
add_library(vorn_forms STATIC
    ${CMAKE_CURRENT_LIST_DIR}/class_block.cpp
    ${CMAKE_CURRENT_LIST_DIR}/class_table.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dump.cpp
    ${CMAKE_CURRENT_LIST_DIR}/font.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gbk_utf8.cpp
    ${CMAKE_CURRENT_LIST_DIR}/properties.cpp
    ${CMAKE_CURRENT_LIST_DIR}/reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/section.cpp
    ${CMAKE_CURRENT_LIST_DIR}/validate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/writer.cpp)
target_include_directories(vorn_forms PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(vorn_forms PUBLIC vorn_base)
vorn_warnings(vorn_forms)
