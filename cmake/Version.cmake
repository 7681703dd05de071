# The program's version, from project(... VERSION ...), as a header every
# target can include: <VorlieVersion.h>.
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${CMAKE_BINARY_DIR}/generated/VorlieVersion.h @ONLY)
add_library(vorlie_version INTERFACE)
target_include_directories(vorlie_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
