// Keeps the library non-empty until its adapters land.
