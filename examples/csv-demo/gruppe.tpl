<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN" "http://www.w3.org/TR/html4/loose.dtd">
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">
<title><FIELD name="Gruppe">Gruppe</FIELD></title>
<link rel="stylesheet" href="index.css" type="text/css">
</head>
<body>
<h1><FIELD name="Bereich">Bereich</FIELD>: <FIELD name="Gruppe">Gruppe</FIELD></h1>
<table border="1">
<tr><th>Pflanze</th><th>Preis</th><th>Hinweis</th></tr>
<RECORD><tr><td><FIELD name="Pflanze">Pflanze</FIELD></td><td><FIELD name="Preis">Preis</FIELD></td><td><FIELD name="Hinweis">Hinweis</FIELD></td></tr>
</RECORD></table>
</body>
</html>
