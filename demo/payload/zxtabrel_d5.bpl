MZ demo package zxtabrel_d5 (a ready-made run-time package of the demo product)
