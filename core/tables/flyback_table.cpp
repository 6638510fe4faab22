// Placeholder, replaced as this part is built.
