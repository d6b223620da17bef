namespace korvana {}
