<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN" "http://www.w3.org/TR/html4/loose.dtd">
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">
<title>Gärtnerei Grünfeld – Katalog</title>
<link rel="stylesheet" href="index.css" type="text/css">
</head>
<body>
<h1>Unser Katalog</h1>
<p>Alle Pflanzen und Artikel auf einen Blick:</p>
<table border="1">
<tr><th>Bereich</th><th>Pflanze</th><th>Preis</th></tr>
<RECORD><tr><td><FIELD name="Bereich">Bereich</FIELD></td><td><FIELD name="Pflanze">Pflanze</FIELD></td><td><FIELD name="Preis">Preis</FIELD></td></tr>
</RECORD></table>
</body>
</html>
