wine_test(version_reader_test)
add_dependencies(version_reader_test ${fixture_targets})
