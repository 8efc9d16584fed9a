namespace glider::core {}
