wine_test(version_reader_test TIMEOUT 300)
add_dependencies(version_reader_test ${fixture_targets} read_versions)
