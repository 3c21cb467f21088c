// The substitute IDE executable: only its version resource matters.
int main() { return 0; }
