// Keeps the support library non-empty while it has no other sources.
namespace lumetra::test_support {
int supportLibraryAnchor = 0;
}
