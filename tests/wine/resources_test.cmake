# Makes the window's pictures with its own code, from the product's resources.
wine_test(resources_test SOURCES app/pictures.cpp)
