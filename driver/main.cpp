// Entry point of the matcher's command line.
int main() { return 0; }
