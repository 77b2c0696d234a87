# Shares the prefix's installer value and folders with the tests that change them.
wine_test(window_test TIMEOUT 180 LOCKS prefix-state)
