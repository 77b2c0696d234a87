wine_test(stack_guard_test)
# Built like the programs: the stack protector with the programs' own guard.
add_executable(overrun tests/tools/overrun.cpp common/stack_guard.cpp)
target_link_options(overrun PRIVATE -static)
add_dependencies(stack_guard_test overrun)
