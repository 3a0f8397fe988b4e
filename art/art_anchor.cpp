// The art library holds only resources; this unit gives the library an object of its own so it
// links the same way whether or not any art has been generated yet.
namespace zelmar_art_anchor {
int Anchor() {
  return 0;
}
}  // namespace zelmar_art_anchor
