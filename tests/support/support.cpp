namespace glider::test {}
