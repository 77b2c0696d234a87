# Changes the prefix's colour scheme and DPI for the programs it starts.
wine_test(screen_test TIMEOUT 240 LOCKS prefix-state)
