namespace glider {}
