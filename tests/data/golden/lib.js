// Menübibliothek (Testfassung)
function writemenu() {}
