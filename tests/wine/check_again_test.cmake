# Runs the checks in the test too, so it shares the prefix's state and the http port
# (left unserved) with the tests that change them.
wine_test(check_again_test TIMEOUT 240 LOCKS prefix-state)
