wine_test(installer_test LOCKS prefix-state)
add_dependencies(installer_test ${fixture_targets})
# Wine hands out its own msi.dll for any file of that name unless told to load the file itself.
set_tests_properties(${SKELVANE_TEST_PREFIX}wine.installer_test PROPERTIES ENVIRONMENT "SKELVANE_DLLOVERRIDES=msi=n,b")
