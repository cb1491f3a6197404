// Linked with the whole of one folder's library and only what that library links: the link
// fails when a folder uses something defined above it.
int main() {
    return 0;
}
