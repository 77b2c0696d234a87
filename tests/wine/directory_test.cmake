wine_test(directory_test LOCKS prefix-state)
