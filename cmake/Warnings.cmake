# Every target of the project builds warning-free with these on.
add_library(kestrova_warnings INTERFACE)
target_compile_options(kestrova_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion)
